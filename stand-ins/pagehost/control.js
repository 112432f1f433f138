'use strict';
// Test control: what a tester does with the page a view shows. One command
// a line (tab-separated fields, see wire.js), optionally after a field
// "@VIEW" that names the engine's view; without it the newest page is meant.
// The answer is "OK ..." or "ERR ...", maybe more lines, then a line ".".
//
//   pages                      one line per page: VIEW URL
//   click SELECTOR             a real mouse click in the middle of the element
//   mousedown SELECTOR | mouseup SELECTOR
//   type SELECTOR TEXT         clicks the element and types the text over its content
//   text SELECTOR | html SELECTOR | exists SELECTOR
//   eval SCRIPT                the text form of the script's value
//   dialog                     OK open / OK none, then: title, text, icon lines
//   dialog confirm | dialog cancel   presses the dialog's button
//   screenshot                 a PNG of the page, Base64-encoded
const { escapeField } = require('./wire');

const DIALOG_ICONS = ['success', 'error', 'warning', 'info', 'question'];
// No animation of the page is waited for longer than this.
const ANIMATION_LIMIT_MS = 3000;

// The middle of the element, scrolled into view; an error when there is none.
// Finite animations of the element and its ancestors (a dialog growing in, a
// transition) end first, or it would move between measuring and clicking.
async function elementCentre(page, selector) {
    const point = await page.value(`(async () => {
        const element = document.querySelector(${JSON.stringify(selector)});
        if (!element) return null;
        const moving = document.getAnimations().filter((a) => a.playState === 'running' && a.effect &&
            a.effect.target && a.effect.target.contains(element) &&
            a.effect.getComputedTiming().iterations !== Infinity);
        await Promise.race([Promise.all(moving.map((a) => a.finished.catch(() => {}))),
                            new Promise((resolve) => setTimeout(resolve, ${ANIMATION_LIMIT_MS}))]);
        element.scrollIntoView({ block: 'center', inline: 'center' });
        const box = element.getBoundingClientRect();
        if (box.width === 0 || box.height === 0) return 'hidden';
        const x = box.left + box.width / 2, y = box.top + box.height / 2;
        // Something on its way out (a dialog's backdrop fading) may still lie over the element.
        const until = Date.now() + ${ANIMATION_LIMIT_MS};
        for (;;) {
            const top = document.elementFromPoint(x, y);
            if (top && element.contains(top)) return { x, y };
            if (Date.now() > until) return { covered: top ? top.tagName + '.' + top.className : 'nothing' };
            await new Promise((resolve) => setTimeout(resolve, 50));
        }
    })()`);
    if (!point) throw new Error(`no element ${selector}`);
    // A user cannot click what is not shown or lies under something else; the click would land elsewhere.
    if (point === 'hidden') throw new Error(`the element ${selector} is not shown`);
    if (point.covered) throw new Error(`the element ${selector} lies under ${point.covered}`);
    return point;
}

async function mouse(page, selector, types) {
    const { x, y } = await elementCentre(page, selector);
    await page.input('Input.dispatchMouseEvent', { type: 'mouseMoved', x, y, button: 'none' });
    for (const type of types)
        await page.input('Input.dispatchMouseEvent', { type, x, y, button: 'left', buttons: type === 'mousePressed' ? 1 : 0,
                                                       clickCount: 1 });
}

async function dialog(page, action) {
    const state = await page.value(`(() => {
        // A dialog on its way out (its hide animation runs) counts as closed.
        if (typeof Swal === 'undefined' || !Swal.isVisible() || Swal.getPopup().classList.contains('swal2-hide'))
            return null;
        const icon = Swal.getIcon();
        const shown = icon && getComputedStyle(icon).display !== 'none'
            ? ${JSON.stringify(DIALOG_ICONS)}.find((name) => icon.classList.contains('swal2-' + name)) : '';
        const text = Swal.getHtmlContainer();
        return { title: Swal.getTitle() ? Swal.getTitle().innerText : '', text: text ? text.innerText : '',
                 icon: shown || '' };
    })()`);
    if (!action) return state ? ['OK open', state.title, state.text, state.icon] : ['OK none'];
    if (!state) throw new Error('no dialog is open');
    const button = action === 'confirm' ? '.swal2-confirm' : action === 'cancel' ? '.swal2-cancel' : null;
    if (!button) throw new Error(`unknown dialog action ${action}`);
    const visible = await page.value(`(() => { const b = document.querySelector('.swal2-container ${button}');
        return !!b && getComputedStyle(b).display !== 'none'; })()`);
    if (!visible) throw new Error(`the dialog has no ${action} button`);
    await mouse(page, `.swal2-container ${button}`, ['mousePressed', 'mouseReleased']);
    return ['OK'];
}

async function runCommand(page, fields) {
    const [command, argument = '', extra = ''] = fields;
    const selector = JSON.stringify(argument);
    switch (command) {
        case 'click': await mouse(page, argument, ['mousePressed', 'mouseReleased']); return ['OK'];
        case 'mousedown': await mouse(page, argument, ['mousePressed']); return ['OK'];
        case 'mouseup': await mouse(page, argument, ['mouseReleased']); return ['OK'];
        case 'type': {
            await mouse(page, argument, ['mousePressed', 'mouseReleased']);
            await page.value(`(() => { const e = document.activeElement; if (e && e.select) e.select(); })()`);
            await page.input('Input.insertText', { text: extra });
            return ['OK'];
        }
        case 'text':
        case 'html': {
            const property = command === 'text' ? 'innerText' : 'innerHTML';
            const value = await page.value(`(() => { const e = document.querySelector(${selector});
                return e ? e.${property} : null; })()`);
            if (value === null) throw new Error(`no element ${argument}`);
            return ['OK', value];
        }
        case 'exists':
            return [(await page.value(`!!document.querySelector(${selector})`)) ? 'OK 1' : 'OK 0'];
        case 'eval': return ['OK', await page.evaluate(argument)];
        case 'dialog': return dialog(page, argument);
        case 'screenshot': return ['OK', await page.screenshot()];
        default: throw new Error(`unknown command ${command}`);
    }
}

// pages(): every live page, oldest first.
async function handleControl(fields, pages) {
    if (fields[0] === 'pages') return ['OK', ...pages().map((p) => `${p.view} ${p.url}`)];
    let list = pages();
    if (fields[0].startsWith('@')) {
        const view = Number(fields.shift().slice(1));
        list = list.filter((p) => p.view === view);
    }
    const page = list[list.length - 1];
    if (!page) throw new Error('no such page');
    return runCommand(page, fields);
}

function answerLines(lines) {
    return lines.map((line, i) => (i === 0 ? line : escapeField(line))).join('\n') + '\n.\n';
}

module.exports = { handleControl, answerLines };
