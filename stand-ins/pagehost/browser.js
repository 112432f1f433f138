'use strict';
// Starts Debian's Chromium headless with a fresh profile and finds its
// DevTools port. Chromium runs under a small shell guard that ends it (and
// removes the profile) as soon as this process is gone, however it ends:
// the guard waits for the end of its standard input, which only this
// process holds open.
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const FLAGS = [
    '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--no-default-browser-check', '--disable-extensions', '--hide-scrollbars', '--mute-audio',
    '--disable-breakpad', '--disable-crash-reporter', '--remote-debugging-port=0', '--remote-allow-origins=*',
];

const GUARD = [
    'profile="$1"; shift',
    // A background job's standard input is /dev/null unless redirected explicitly.
    'exec 3<&0',
    '"$@" </dev/null >>"$profile.log" 2>&1 & browser=$!',
    '{ cat <&3 >/dev/null; kill "$browser" 2>/dev/null; } & watcher=$!',
    'wait "$browser"; status=$?',
    // The watcher still there means the browser ended by itself: say why.
    'if kill "$watcher" 2>/dev/null && [ "$status" != 0 ]; then tail -n 20 "$profile.log" >&2; fi',
    // Let go of the host's pipes: whoever reads the host's output is not kept waiting.
    'exec 0</dev/null 2>/dev/null 3<&-',
    // The browser's helper processes may still write into the profile for a moment.
    'for _ in 1 2 3 4 5; do rm -rf "$profile" "$profile.log"; sleep 1; [ -e "$profile" ] || break; done',
].join('\n');

function chromiumPath() {
    return process.env.QM_CHROMIUM || '/usr/bin/chromium';
}

function delay(ms) {
    return new Promise((resolve) => setTimeout(resolve, ms));
}

// Resolves with { port, stop } once the browser's DevTools endpoint is up.
async function startBrowser(log) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmere-pagehost-'));
    const args = [...FLAGS, `--user-data-dir=${profile}`, 'about:blank'];
    const guard = spawn('/bin/sh', ['-c', GUARD, 'guard', profile, chromiumPath(), ...args],
                        { stdio: ['pipe', 'ignore', 'inherit'] });
    let exited = false;
    guard.on('exit', () => { exited = true; });
    const stop = () => { try { guard.stdin.end(); } catch (e) { /* already gone */ } };
    const portFile = path.join(profile, 'DevToolsActivePort');
    for (let waited = 0; waited < 30000 && !exited; waited += 50) {
        let text = '';
        try { text = fs.readFileSync(portFile, 'utf8'); } catch (e) { /* not yet */ }
        const port = parseInt(text.split('\n')[0], 10);
        if (port > 0) {
            log(`chromium listens on DevTools port ${port}`);
            return { port, stop };
        }
        await delay(50);
    }
    stop();
    throw new Error(`chromium did not start (${chromiumPath()}); see ${profile}.log`);
}

module.exports = { startBrowser };
