'use strict';
// The page host's line protocol: one message a line, fields separated by
// tabs. Inside a field a backslash, tab, line feed and carriage return are
// written as \\, \t, \n and \r, so any text (a script, a page) fits one field.

function escapeField(text) {
    return String(text).replace(/[\\\t\n\r]/g, (c) => ({ '\\': '\\\\', '\t': '\\t', '\n': '\\n', '\r': '\\r' })[c]);
}

function unescapeField(field) {
    return field.replace(/\\(.)/g, (_, c) => ({ t: '\t', n: '\n', r: '\r' })[c] || c);
}

function encodeLine(fields) {
    return fields.map(escapeField).join('\t') + '\n';
}

function decodeLine(line) {
    return line.split('\t').map(unescapeField);
}

// Calls onFields with the fields of every complete line the socket delivers.
function readLines(socket, onFields) {
    let pending = '';
    socket.setEncoding('utf8');
    socket.on('data', (chunk) => {
        pending += chunk;
        let newline;
        while ((newline = pending.indexOf('\n')) >= 0) {
            let line = pending.slice(0, newline);
            pending = pending.slice(newline + 1);
            if (line.endsWith('\r')) line = line.slice(0, -1);
            onFields(decodeLine(line));
        }
    });
}

module.exports = { escapeField, encodeLine, decodeLine, readLines };
