'use strict';
// One browser page per view of a stand-in engine. The page's requests are
// paused and handed to the engine, which answers each with the body and
// headers its own request path produced; the page's console, its load
// events and its screencast frames go back to the engine.
const CDP = require('chrome-remote-interface');

const CONSOLE_LEVELS = { log: 1, warning: 2, error: 3, assert: 3, debug: 4, info: 5 };
// Headers that described the body as the network sent it, not as the engine hands it over.
const TRANSPORT_HEADERS = new Set(['content-length', 'transfer-encoding', 'content-encoding', 'connection', 'keep-alive']);
const MIME_TYPES = {
    html: 'text/html; charset=utf-8', htm: 'text/html; charset=utf-8', js: 'text/javascript; charset=utf-8',
    css: 'text/css; charset=utf-8', json: 'application/json', png: 'image/png', jpg: 'image/jpeg',
    jpeg: 'image/jpeg', gif: 'image/gif', svg: 'image/svg+xml', ico: 'image/x-icon', woff2: 'font/woff2',
};

function guessMimeType(url) {
    const pathPart = url.split(/[?#]/)[0];
    const dot = pathPart.lastIndexOf('.');
    const type = dot > pathPart.lastIndexOf('/') ? MIME_TYPES[pathPart.slice(dot + 1).toLowerCase()] : undefined;
    return type || (pathPart.endsWith('/') ? MIME_TYPES.html : 'application/octet-stream');
}

// Headers as the engine gives them ("Name: value" lines) in the form Fetch.fulfillRequest takes.
function responseHeaders(headerText, url) {
    const headers = [];
    for (const line of headerText.split('\n')) {
        const colon = line.indexOf(':');
        if (colon <= 0) continue;
        const name = line.slice(0, colon).trim();
        if (!TRANSPORT_HEADERS.has(name.toLowerCase())) headers.push({ name, value: line.slice(colon + 1).trim() });
    }
    if (!headers.some((h) => h.name.toLowerCase() === 'content-type'))
        headers.push({ name: 'Content-Type', value: guessMimeType(url) });
    return headers;
}

function consoleText(args) {
    return args.map((a) => {
        if (a.type === 'string') return a.value;
        if (a.value !== undefined) return typeof a.value === 'object' ? JSON.stringify(a.value) : String(a.value);
        return a.unserializableValue || a.description || a.type;
    }).join(' ');
}

// The script runs as a global script does; its value comes back as its text
// form, as String() gives it.
function evaluationOf(script) {
    return `(function(){try{var v=(0,eval)(${JSON.stringify(script)});` +
        `try{return String(v);}catch(e){return Object.prototype.toString.call(v);}}` +
        `catch(e){return 'undefined';}})()`;
}

class Page {
    // engine: { send(fields), alive(), newRequest(page) -> id }; view: the engine's view number.
    constructor(browserPort, engine, view, log) {
        this.browserPort = browserPort;
        this.engine = engine;
        this.view = view;
        this.log = log;
        this.width = 1280;
        this.height = 720;
        this.url = 'about:blank';
        this.mainStatus = 0;
        this.requests = new Map();  // engine request id -> the paused request
        this.ready = this.open();
        this.queue = this.ready;
    }

    // Runs work after everything queued before it.
    enqueue(work) {
        this.queue = this.queue.then(work).catch((e) => this.log(`view ${this.view}: ${e.message}`));
        return this.queue;
    }

    async open() {
        this.target = await CDP.New({ port: this.browserPort, url: 'about:blank' });
        const client = await CDP({ port: this.browserPort, target: this.target.id });
        this.client = client;
        client.on('Fetch.requestPaused', (e) => this.onRequest(e));
        client.on('Runtime.consoleAPICalled', (e) => this.onConsole(e));
        client.on('Runtime.exceptionThrown', (e) => this.onException(e));
        client.on('Page.domContentEventFired', () => this.engine.send(['domready', this.view]));
        client.on('Page.loadEventFired', () => this.onLoaded());
        client.on('Page.screencastFrame', (e) => this.onFrame(e));
        client.on('Page.javascriptDialogOpening', (e) => {
            this.log(`view ${this.view}: ${e.type} dialog "${e.message}" accepted`);
            client.send('Page.handleJavaScriptDialog', { accept: true }).catch(() => {});
        });
        await client.send('Page.enable');
        await client.send('Runtime.enable');
        await client.send('Fetch.enable', { patterns: [{ urlPattern: '*', requestStage: 'Request' }] });
        this.mainFrameId = (await client.send('Page.getFrameTree')).frameTree.frame.id;
        await this.applySize();
    }

    async applySize() {
        await this.client.send('Emulation.setDeviceMetricsOverride',
                               { width: this.width, height: this.height, deviceScaleFactor: 1, mobile: false });
        await this.client.send('Page.stopScreencast').catch(() => {});
        await this.client.send('Page.startScreencast', { format: 'jpeg', quality: 85, everyNthFrame: 1,
                                                         maxWidth: this.width, maxHeight: this.height });
    }

    resize(width, height) {
        if (width > 0 && height > 0 && (width !== this.width || height !== this.height)) {
            this.width = width;
            this.height = height;
            return this.enqueue(() => this.applySize());
        }
        return this.queue;
    }

    load(url) {
        return this.enqueue(async () => {
            this.mainStatus = 0;
            this.loading = true;
            const result = await this.client.send('Page.navigate', { url });
            if (result.errorText) this.finishLoad(false, result.errorText);
        });
    }

    html(content) {
        return this.enqueue(async () => {
            this.mainStatus = 0;
            await this.client.send('Page.navigate', { url: 'about:blank' });
            await this.client.send('Page.setDocumentContent', { frameId: this.mainFrameId, html: content });
            // Setting the content fires no load event of its own; loading
            // only now, so that the blank page's late load event is not
            // taken for the content's.
            this.loading = true;
            await this.onLoaded();
        });
    }

    finishLoad(ok, detail) {
        if (!this.loading) return;
        this.loading = false;
        this.engine.send(['loaded', this.view, ok ? 'ok' : 'fail', detail, this.url]);
    }

    async onLoaded() {
        const [title, href] = await Promise.all([this.evaluate('document.title'), this.evaluate('location.href')]);
        this.url = href;
        this.engine.send(['title', this.view, title]);
        if (this.mainStatus >= 400) this.finishLoad(false, `HTTP ${this.mainStatus}`);
        else this.finishLoad(true, title);
    }

    onRequest(e) {
        const fetchId = e.requestId;
        if (!this.engine.alive()) {
            this.client.send('Fetch.failRequest', { requestId: fetchId, errorReason: 'Aborted' }).catch(() => {});
            return;
        }
        // The engine fetches with GET only; anything else goes out as the page sent it.
        if (e.request.method !== 'GET') {
            this.client.send('Fetch.continueRequest', { requestId: fetchId }).catch(() => {});
            return;
        }
        const id = this.engine.newRequest(this);
        const isDocument = e.resourceType === 'Document' && e.frameId === this.mainFrameId;
        this.requests.set(id, { fetchId, url: e.request.url, isDocument });
        this.engine.send(['request', id, this.view, e.request.url]);
    }

    // The engine's answer: a status, headers and the body (base64), or a failure.
    answer(id, status, headerText, body64) {
        const request = this.requests.get(id);
        if (!request) return;
        this.requests.delete(id);
        if (request.isDocument) this.mainStatus = status;
        this.client.send('Fetch.fulfillRequest', {
            requestId: request.fetchId, responseCode: status || 200,
            responseHeaders: responseHeaders(headerText, request.url), body: body64,
        }).catch((e) => this.log(`view ${this.view}: fulfilling ${request.url}: ${e.message}`));
    }

    fail(id, reason) {
        const request = this.requests.get(id);
        if (!request) return;
        this.requests.delete(id);
        this.client.send('Fetch.failRequest', { requestId: request.fetchId, errorReason: reason || 'Failed' })
            .catch(() => {});
    }

    onConsole(e) {
        const frame = e.stackTrace && e.stackTrace.callFrames[0];
        this.engine.send(['console', this.view, CONSOLE_LEVELS[e.type] || 1, consoleText(e.args),
                          frame ? frame.url : '', frame ? frame.lineNumber + 1 : 0]);
    }

    onException(e) {
        const d = e.exceptionDetails;
        const text = (d.exception && d.exception.description) || d.text;
        this.engine.send(['console', this.view, CONSOLE_LEVELS.error, text, d.url || '', (d.lineNumber || 0) + 1]);
    }

    onFrame(e) {
        this.client.send('Page.screencastFrameAck', { sessionId: e.sessionId }).catch(() => {});
        this.engine.send(['frame', this.view, e.data]);
    }

    // The text form of the script's value; "undefined" when it throws.
    async evaluate(script) {
        await this.ready;
        const reply = await this.client.send('Runtime.evaluate', { expression: evaluationOf(script), returnByValue: true });
        return reply.result && typeof reply.result.value === 'string' ? reply.result.value : 'undefined';
    }

    // The value of an expression as the page computes it (JSON-able values).
    async value(expression) {
        await this.ready;
        const reply = await this.client.send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
        if (reply.exceptionDetails) throw new Error(reply.exceptionDetails.exception
            ? reply.exceptionDetails.exception.description : reply.exceptionDetails.text);
        return reply.result.value;
    }

    async input(method, params) {
        await this.ready;
        await this.client.send(method, params);
    }

    async screenshot() {
        await this.ready;
        return (await this.client.send('Page.captureScreenshot', { format: 'png' })).data;
    }

    async close() {
        try {
            await this.ready;
            this.client.close();
            await CDP.Close({ port: this.browserPort, id: this.target.id });
        } catch (e) { /* the browser is gone already */ }
    }
}

module.exports = { Page, responseHeaders };
