'use strict';
// The page host's translations that the browser never sees whole: protocol
// fields, window messages as input events, response headers.
const test = require('node:test');
const assert = require('node:assert');
const { encodeLine, decodeLine } = require('../wire');
const { inputEvent, WM } = require('../input');
const { responseHeaders } = require('../pages');

test('fields of any text survive a line', () => {
    const fields = ['eval', 'a\tb', 'back\\slash\\t', 'line\nend\r\n', '', '中文'];
    const line = encodeLine(fields);
    assert.strictEqual(line.indexOf('\n'), line.length - 1, 'one line');
    assert.deepStrictEqual(decodeLine(line.slice(0, -1)), fields);
});

test('window messages become the browser input a user makes', () => {
    const state = {};
    const lParam = (x, y) => ((y & 0xffff) << 16 | (x & 0xffff)) >>> 0;
    const cases = [
        // message, wParam, lParam, method, expected parameters
        [WM.MOUSEMOVE, 0, lParam(-5, 700), 'Input.dispatchMouseEvent', { type: 'mouseMoved', x: -5, y: 700, button: 'none', buttons: 0 }],
        [WM.MOUSEMOVE, 1, lParam(10, 20), 'Input.dispatchMouseEvent', { button: 'left', buttons: 1 }],
        [WM.LBUTTONDBLCLK, 1, lParam(3, 4), 'Input.dispatchMouseEvent', { type: 'mousePressed', clickCount: 2 }],
        [WM.LBUTTONUP, 0, lParam(3, 4), 'Input.dispatchMouseEvent', { type: 'mouseReleased', clickCount: 2 }],
        [WM.RBUTTONDOWN, 2, lParam(1, 1), 'Input.dispatchMouseEvent', { button: 'right', clickCount: 1 }],
        [WM.MOUSEWHEEL, (120 << 16) >>> 0, lParam(50, 60), 'Input.dispatchMouseEvent', { type: 'mouseWheel', deltaY: -120, x: 50 }],
        [WM.MOUSEWHEEL, ((-240 & 0xffff) << 16) >>> 0, lParam(0, 0), 'Input.dispatchMouseEvent', { deltaY: 240 }],
        [WM.KEYDOWN, 0x08, 0, 'Input.dispatchKeyEvent', { type: 'rawKeyDown', windowsVirtualKeyCode: 8 }],
        [WM.SYSKEYUP, 0x12, 0, 'Input.dispatchKeyEvent', { type: 'keyUp', windowsVirtualKeyCode: 0x12 }],
        [WM.CHAR, 0x4e2d, 0, 'Input.dispatchKeyEvent', { type: 'char', text: '中' }],
    ];
    for (const [message, wParam, l, method, expected] of cases) {
        const [gotMethod, params] = inputEvent(message, wParam, l, 2, state);
        assert.strictEqual(gotMethod, method, `message ${message}`);
        for (const [key, value] of Object.entries(expected))
            assert.deepStrictEqual(params[key], value, `message ${message}: ${key}`);
        assert.strictEqual(params.modifiers, 2);
    }
    assert.strictEqual(inputEvent(0x0f /* WM_PAINT */, 0, 0, 0, state), null);
});

test('responses keep their headers but not the ones of the transfer', () => {
    const headers = responseHeaders('Content-Type: text/css\nContent-Length: 99\nX-Test:  yes \nbad line\n',
                                    'http://h/a.css');
    assert.deepStrictEqual(headers, [{ name: 'Content-Type', value: 'text/css' }, { name: 'X-Test', value: 'yes' }]);
    const guessed = (url) => responseHeaders('', url).find((h) => h.name === 'Content-Type').value;
    assert.match(guessed('http://h/x/launcher.css?v=1'), /^text\/css/);
    assert.match(guessed('http://h/x/app.js#top'), /^text\/javascript/);
    assert.match(guessed('http://h/fivem/launcher/?version=1014'), /^text\/html/);
    assert.strictEqual(guessed('http://h/x.dir/file'), 'application/octet-stream');
});
