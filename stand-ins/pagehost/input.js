'use strict';
// Window messages of an engine's view window as the browser's input events.
// Coordinates are the view window's client coordinates (the engine turns a
// wheel message's screen position into them before it sends it).

const WM = {
    KEYDOWN: 0x100, KEYUP: 0x101, CHAR: 0x102, SYSKEYDOWN: 0x104, SYSKEYUP: 0x105,
    MOUSEMOVE: 0x200, LBUTTONDOWN: 0x201, LBUTTONUP: 0x202, LBUTTONDBLCLK: 0x203,
    RBUTTONDOWN: 0x204, RBUTTONUP: 0x205, RBUTTONDBLCLK: 0x206,
    MBUTTONDOWN: 0x207, MBUTTONUP: 0x208, MBUTTONDBLCLK: 0x209, MOUSEWHEEL: 0x20A,
};

const BUTTON_MESSAGES = {
    [WM.LBUTTONDOWN]: ['left', 'mousePressed', 1], [WM.LBUTTONUP]: ['left', 'mouseReleased', 1],
    [WM.LBUTTONDBLCLK]: ['left', 'mousePressed', 2],
    [WM.RBUTTONDOWN]: ['right', 'mousePressed', 1], [WM.RBUTTONUP]: ['right', 'mouseReleased', 1],
    [WM.RBUTTONDBLCLK]: ['right', 'mousePressed', 2],
    [WM.MBUTTONDOWN]: ['middle', 'mousePressed', 1], [WM.MBUTTONUP]: ['middle', 'mouseReleased', 1],
    [WM.MBUTTONDBLCLK]: ['middle', 'mousePressed', 2],
};

function signed16(value) {
    return (value & 0xffff) << 16 >> 16;
}

// Buttons held according to a mouse message's key flags, as the browser counts them.
function heldButtons(wParam) {
    return (wParam & 1 ? 1 : 0) | (wParam & 2 ? 2 : 0) | (wParam & 0x10 ? 4 : 0);
}

function heldButtonName(wParam) {
    return wParam & 1 ? 'left' : wParam & 2 ? 'right' : wParam & 0x10 ? 'middle' : 'none';
}

// state keeps the click count of the last press, so its release matches it.
// Answers [method, params] or null for a message the page does not take.
function inputEvent(message, wParam, lParam, modifiers, state) {
    const x = signed16(lParam), y = signed16(lParam >>> 16);
    const mouse = { x, y, modifiers };
    if (message === WM.MOUSEMOVE)
        return ['Input.dispatchMouseEvent', { ...mouse, type: 'mouseMoved', button: heldButtonName(wParam),
                                              buttons: heldButtons(wParam) }];
    if (BUTTON_MESSAGES[message]) {
        const [button, type, count] = BUTTON_MESSAGES[message];
        if (type === 'mousePressed') state.clickCount = count;
        return ['Input.dispatchMouseEvent', { ...mouse, type, button, buttons: heldButtons(wParam),
                                              clickCount: state.clickCount || 1 }];
    }
    if (message === WM.MOUSEWHEEL)
        return ['Input.dispatchMouseEvent', { ...mouse, type: 'mouseWheel', deltaX: 0,
                                              deltaY: -signed16(wParam >>> 16) }];
    if (message === WM.KEYDOWN || message === WM.SYSKEYDOWN)
        return ['Input.dispatchKeyEvent', { type: 'rawKeyDown', windowsVirtualKeyCode: wParam, modifiers }];
    if (message === WM.KEYUP || message === WM.SYSKEYUP)
        return ['Input.dispatchKeyEvent', { type: 'keyUp', windowsVirtualKeyCode: wParam, modifiers }];
    if (message === WM.CHAR) {
        const text = String.fromCharCode(wParam);
        return ['Input.dispatchKeyEvent', { type: 'char', text, unmodifiedText: text, modifiers }];
    }
    return null;
}

module.exports = { inputEvent, WM };
