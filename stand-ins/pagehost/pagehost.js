#!/usr/bin/env node
'use strict';
// The page host: real pages for the stand-in browser engine. It drives a
// headless Chromium over the DevTools protocol and listens on 127.0.0.1 for
// two kinds of connections (line protocol of wire.js):
//
// An engine ("node.dll" when QM_PAGE_HOST_PORT is set) first sends "engine".
//   engine -> host: load VIEW W H URL | html VIEW W H HTML | resize VIEW W H | close VIEW
//                   eval ID VIEW SCRIPT | input VIEW MESSAGE WPARAM LPARAM MODIFIERS
//                   fulfill REQUEST STATUS HEADERS BODY64 | fail REQUEST REASON
//   host -> engine: request REQUEST VIEW URL | result ID TEXT | console VIEW LEVEL TEXT SOURCE LINE
//                   title VIEW TEXT | domready VIEW | loaded VIEW ok|fail DETAIL URL | frame VIEW JPEG64
// A page's every request is handed to its engine, whose answer is what the page gets.
//
// Anything else is a test control connection (control.js).
//
//   node pagehost.js [--port N] [--info-file PATH] [--max-seconds S]
// With --info-file it writes "PORT PID" there once it listens.
const fs = require('fs');
const net = require('net');
const { startBrowser } = require('./browser');
const { Page } = require('./pages');
const { inputEvent } = require('./input');
const { encodeLine, readLines } = require('./wire');
const { handleControl, answerLines } = require('./control');

function log(text) {
    process.stderr.write(`pagehost: ${text}\n`);
}

// A Windows program under Wine may name a file by its drive Z: path.
function linuxPath(path) {
    return /^[zZ]:[\\/]/.test(path) ? '/' + path.slice(3).replace(/\\/g, '/') : path;
}

function options(argv) {
    const result = { port: 0, infoFile: '', maxSeconds: 0 };
    for (let i = 0; i < argv.length; i += 2) {
        const value = argv[i + 1];
        if (argv[i] === '--port') result.port = Number(value);
        else if (argv[i] === '--info-file') result.infoFile = linuxPath(value);
        else if (argv[i] === '--max-seconds') result.maxSeconds = Number(value);
        else throw new Error(`unknown option ${argv[i]}`);
    }
    return result;
}

const livePages = [];

function pages() {
    return livePages.slice();
}

// One engine connection and the pages of its views.
class EngineSession {
    constructor(socket, browserPort) {
        this.socket = socket;
        this.browserPort = browserPort;
        this.views = new Map();
        this.open = true;
        this.requestPages = new Map();  // request number -> its page
        this.nextRequest = 1;
        this.endpoint = {
            send: (fields) => this.send(fields),
            alive: () => this.open,
            newRequest: (page) => {
                this.requestPages.set(this.nextRequest, page);
                return this.nextRequest++;
            },
        };
        socket.on('close', () => this.end());
        socket.on('error', () => this.end());
    }

    send(fields) {
        if (this.open) this.socket.write(encodeLine(fields));
    }

    page(view, width, height) {
        let page = this.views.get(view);
        if (!page) {
            page = new Page(this.browserPort, this.endpoint, view, log);
            this.views.set(view, page);
            livePages.push(page);
        }
        if (width !== undefined) page.resize(width, height);
        return page;
    }

    closeView(view) {
        const page = this.views.get(view);
        if (!page) return;
        this.views.delete(view);
        livePages.splice(livePages.indexOf(page), 1);
        page.close();
    }

    end() {
        if (!this.open) return;
        this.open = false;
        for (const view of [...this.views.keys()]) this.closeView(view);
    }

    handle(fields) {
        const [command, a, b, c, d, e] = fields;
        const view = Number(a);
        switch (command) {
            case 'load': this.page(view, Number(b), Number(c)).load(d); break;
            case 'html': this.page(view, Number(b), Number(c)).html(d); break;
            case 'resize': if (this.views.has(view)) this.page(view, Number(b), Number(c)); break;
            case 'close': this.closeView(view); break;
            case 'eval': {
                const page = this.views.get(Number(b));
                const answer = page ? page.evaluate(c) : Promise.resolve('undefined');
                answer.catch(() => 'undefined').then((text) => this.send(['result', a, text]));
                break;
            }
            case 'input': {
                const page = this.views.get(view);
                const event = page && inputEvent(Number(b), Number(c), Number(d), Number(e), page);
                if (event) page.input(...event).catch((err) => log(`input: ${err.message}`));
                break;
            }
            case 'fulfill':
            case 'fail': {
                const page = this.requestPages.get(Number(a));
                this.requestPages.delete(Number(a));
                if (page && command === 'fulfill') page.answer(Number(a), Number(b), c, d);
                else if (page) page.fail(Number(a), b);
                break;
            }
            default: log(`engine sent an unknown command ${command}`);
        }
    }
}

function serveControl(socket, first) {
    let chain = Promise.resolve();
    const run = (fields) => {
        chain = chain.then(() => handleControl(fields, pages))
            .catch((e) => [`ERR ${e.message.split('\n')[0]}`])
            .then((lines) => socket.write(answerLines(lines)));
    };
    run(first);
    return run;
}

async function main() {
    const settings = options(process.argv.slice(2));
    const browser = await startBrowser(log);
    const stop = () => {
        browser.stop();
        process.exit(0);
    };
    process.on('SIGTERM', stop);
    process.on('SIGINT', stop);
    if (settings.maxSeconds > 0) setTimeout(stop, settings.maxSeconds * 1000).unref();

    const server = net.createServer((socket) => {
        let handler = null;
        socket.on('error', () => {});
        readLines(socket, (fields) => {
            try {
                if (handler) return handler(fields);
                if (fields[0] === 'engine') {
                    const session = new EngineSession(socket, browser.port);
                    handler = (f) => session.handle(f);
                } else {
                    handler = serveControl(socket, fields);
                }
            } catch (e) {
                log(`connection: ${e.message}`);
            }
        });
    });
    server.listen(settings.port, '127.0.0.1', () => {
        const port = server.address().port;
        log(`listening on 127.0.0.1:${port}`);
        if (settings.infoFile) {
            fs.writeFileSync(settings.infoFile + '.tmp', `${port} ${process.pid}\n`);
            fs.renameSync(settings.infoFile + '.tmp', settings.infoFile);
        }
    });
}

main().catch((e) => {
    log(e.message);
    process.exit(1);
});
