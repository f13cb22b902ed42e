'use strict';
// The extension's wiring, with the editor and the client library stood in for: what it starts,
// what it tells the server, and when it starts it anew.
const test = require('node:test');
const assert = require('node:assert/strict');
const Module = require('node:module');
const path = require('node:path');

const extensionPath = path.join(__dirname, '..', 'extension.js');

// A stand-in for the editor: settings as given, commands and listeners recorded.
function fakeEditor(settings) {
    const editor = {settings, commands: new Map(), listeners: [], errors: []};
    editor.module = {
        workspace: {
            getConfiguration: (section) => ({
                get: (name, fallback) =>
                    (`${section}.${name}` in editor.settings ?
                         editor.settings[`${section}.${name}`] :
                         fallback),
            }),
            onDidChangeConfiguration: (listener) => {
                editor.listeners.push(listener);
                return {dispose() {}};
            },
        },
        commands: {
            registerCommand: (name, run) => {
                editor.commands.set(name, run);
                return {dispose() {}};
            },
        },
        window: {showErrorMessage: (text) => editor.errors.push(text)},
    };
    // Tells the listeners that the given settings changed.
    editor.change = async (changed) => {
        Object.assign(editor.settings, changed);
        const event = {
            affectsConfiguration: (name) =>
                Object.keys(changed).some((key) => key === name || key.startsWith(`${name}.`))
        };
        await Promise.all(editor.listeners.map((listener) => listener(event)));
    };
    return editor;
}

// A stand-in for the client library's LanguageClient that records what it was made with.
function fakeClientLibrary({startFails = false} = {}) {
    const library = {clients: []};
    library.module = {
        LanguageClient: class {
            constructor(id, name, serverOptions, clientOptions) {
                Object.assign(
                    this, {id, name, serverOptions, clientOptions, started: false, stopped: false});
                library.clients.push(this);
            } async start() {
                if (startFails) throw new Error('spawn vek ENOENT');
                this.started = true;
            } async stop() {
                if (!this.started) throw new Error('the client is not running');
                this.stopped = true;
            }
        },
    };
    return library;
}

// extension.js loaded afresh against the stand-ins.
function loadExtension(editor, library) {
    const load = Module._load;
    Module._load = function(request, ...rest) {
        if (request === 'vscode') return editor.module;
        if (request === 'vscode-languageclient/node') return library.module;
        return load.call(this, request, ...rest);
    };
    try {
        delete require.cache[extensionPath];
        return require(extensionPath);
    } finally {
        Module._load = load;
    }
}

async function activated(settings, options) {
    const editor = fakeEditor(settings);
    const library = fakeClientLibrary(options);
    const extension = loadExtension(editor, library);
    const context = {subscriptions: []};
    await extension.activate(context);
    return {editor, library, extension, context};
}

test('activation starts vek lsp with the settings; deactivation stops it', async () => {
    const {library, extension, context} = await activated(
        {'vekstudio.gameDir': '/games/Creatures', 'vekstudio.serverPath': '/opt/vek'});
    const [client] = library.clients;
    assert.ok(client.started);
    assert.deepEqual(client.serverOptions, {command: '/opt/vek', args: ['lsp']});
    assert.deepEqual(
        client.clientOptions.initializationOptions,
        {vekstudio: {gameDir: '/games/Creatures', tryOnSave: false}});
    assert.equal(client.clientOptions.synchronize.configurationSection, 'vekstudio');
    assert.ok(
        client.clientOptions.documentSelector.every((selector) => selector.language === 'caos-c1'));
    assert.equal(
        context.subscriptions.length, 2, 'the command and the listener go with the extension');
    await extension.deactivate();
    assert.ok(client.stopped);
});

test(
    'a new server program or the restart command replace the server; other settings do not',
    async () => {
        const {editor, library} = await activated({});
        await editor.change({'vekstudio.gameDir': '/elsewhere'});
        assert.equal(library.clients.length, 1, 'the running server is told, not replaced');
        await editor.change({'vekstudio.serverPath': '/usr/local/bin/vek'});
        await editor.commands.get('vekstudio.restartServer')();
        const [first, second, third] = library.clients;
        assert.ok(first.stopped && second.stopped && third.started && !third.stopped);
        assert.equal(second.serverOptions.command, '/usr/local/bin/vek');
        assert.equal(second.clientOptions.initializationOptions.vekstudio.gameDir, '/elsewhere');
    });

test('a server that does not start is reported with the setting that names it', async () => {
    const {editor, library, extension} = await activated({}, {startFails: true});
    assert.equal(editor.errors.length, 1);
    assert.match(editor.errors[0], /ENOENT.*vekstudio\.serverPath/s);
    await extension.deactivate();
    assert.equal(library.clients[0].stopped, false, 'nothing ran, nothing to stop');
});
