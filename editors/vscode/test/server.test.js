'use strict';
// Drives a built `vek lsp` through the protocol library the extension's client is made of, as
// VS Code would, and checks each answer against what `vek` itself says of the same source.
//   VEK=/path/to/vek node --test test/
const test = require('node:test');
const assert = require('node:assert/strict');
const {spawn, spawnSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {pathToFileURL} = require('node:url');
const rpc = require('vscode-jsonrpc/node');
const protocol = require('vscode-languageserver-protocol');
const {TextDocument} = require('vscode-languageserver-textdocument');
const {serverSettings} = require('../launch');

const vek = process.env.VEK;
if (!vek) throw new Error('VEK names the vek program to test');

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vekstudio-vscode-'));
// No game of the user's: only the one this test names.
const env = {
    ...process.env,
    HOME: work
};
delete env.VEK_GAME_DIR;
delete env.WINEPREFIX;

function run(...args) {
    const result = spawnSync(vek, args, {encoding: 'utf8', env});
    if (result.status !== 0 && result.status !== 1)
        throw new Error(`vek ${args.join(' ')}: ${result.stderr}`);
    return result.stdout;
}

const gameDir = path.join(work, 'demo', 'Creatures');
run('demo', path.join(work, 'demo'));

// zzzz is no sprite file of the demo game, mvtq no command.
const source = path.join(work, 'ball.cos');
fs.writeFileSync(source, [
    '* a ball that rolls',
    'inst',
    'new: simp zzzz 1 0 10 0',
    'setv clas 33882880',
    'endm',
    'scrp 2 5 3 1',
    'doif obv0 eq 1',
    'gsub roll',
    'endi',
    'stop',
    'subr roll',
    'mvtq 1 1',
    'retn',
    'endm',
    '',
].join('\n'));
const uri = pathToFileURL(source).href;

// `vek check`'s findings as the protocol has them: lines and columns from 0.
function findingsOfCheck(...options) {
    const severities = {
        error: protocol.DiagnosticSeverity.Error,
        warning: protocol.DiagnosticSeverity.Warning
    };
    return run('check', ...options, source)
        .split('\n')
        .filter(Boolean)
        .map((line) => {
            const [, row, column, severity, message] =
                /^.*:(\d+):(\d+): (error|warning): (.*)$/.exec(line);
            return {line: row - 1, character: column - 1, severity: severities[severity], message};
        })
        .sort(byPlace);
}

function findingsOfDiagnostics(diagnostics) {
    return diagnostics
        .map((diagnostic) => ({
                 line: diagnostic.range.start.line,
                 character: diagnostic.range.start.character,
                 severity: diagnostic.severity,
                 message: diagnostic.message,
             }))
        .sort(byPlace);
}

function byPlace(a, b) {
    return a.line - b.line || a.character - b.character || a.message.localeCompare(b.message);
}

// The entry `vek words` gives a word: its line with the kinds of the arguments.
const wordLines = run('words').split('\n').filter(Boolean);
function entryOf(word) {
    return wordLines.find((line) => line === word || line.startsWith(`${word} `));
}

// Where `text` first stands in a document, as a protocol position.
function placeOf(document, text) {
    const offset = document.getText().indexOf(text);
    assert.notEqual(offset, -1, `no ${text} in the document`);
    return document.positionAt(offset);
}

class Session {
    constructor() {
        this.child = spawn(vek, ['lsp'], {env, stdio: ['pipe', 'pipe', 'inherit']});
        this.connection = protocol.createProtocolConnection(
            new rpc.StreamMessageReader(this.child.stdout),
            new rpc.StreamMessageWriter(this.child.stdin));
        this.waiting = [];
        this.connection.onNotification(protocol.PublishDiagnosticsNotification.type, (params) => {
            const index = this.waiting.findIndex((waiting) => waiting.uri === params.uri);
            if (index !== -1) this.waiting.splice(index, 1)[0].resolve(params.diagnostics);
        });
        this.connection.listen();
        this.exited = new Promise((resolve) => this.child.on('exit', (code) => resolve(code)));
    }

    // The diagnostics the server publishes next for the document, after what `send` does.
    diagnosticsAfter(send) {
        const published = new Promise((resolve, reject) => {
            const timer =
                setTimeout(() => reject(new Error('no diagnostics were published')), 10000);
            this.waiting.push({
                uri,
                resolve: (diagnostics) => {
                    clearTimeout(timer);
                    resolve(diagnostics);
                }
            });
        });
        send();
        return published;
    }

    request(type, params) {
        return this.connection.sendRequest(type, params);
    }

    notify(type, params) {
        this.connection.sendNotification(type, params);
    }
}

test('vek lsp through the extension\'s protocol library', async (t) => {
    const session = new Session();
    t.after(() => session.child.kill());
    let document = TextDocument.create(uri, 'caos-c1', 1, fs.readFileSync(source, 'utf8'));
    let latest = [];
    const at = (position) => ({textDocument: {uri}, position});

    const initialized = await session.request(protocol.InitializeRequest.type, {
        processId: process.pid,
        rootUri: pathToFileURL(work).href,
        capabilities: {},
        initializationOptions: serverSettings({gameDir, tryOnSave: false}),
    });
    const capabilities = initialized.capabilities;
    session.notify(protocol.InitializedNotification.type, {});

    const opened = await session.diagnosticsAfter(
        () => session.notify(
            protocol.DidOpenTextDocumentNotification.type,
            {textDocument: {uri, languageId: 'caos-c1', version: 1, text: document.getText()}}));

    await t.test('diagnostics are vek check\'s against the named game', () => {
        const expected = findingsOfCheck('--game-dir', gameDir);
        assert.ok(
            expected.some((finding) => finding.message.includes('zzzz')), 'the game lacks zzzz');
        assert.deepEqual(findingsOfDiagnostics(opened), expected);
    });

    await t.test('a changed game folder setting checks anew', async () => {
        const without = await session.diagnosticsAfter(
            () => session.notify(
                protocol.DidChangeConfigurationNotification.type,
                {settings: serverSettings({gameDir: '', tryOnSave: false})}));
        const expected = findingsOfCheck();
        assert.ok(expected.length < opened.length, 'the game adds findings');
        assert.deepEqual(findingsOfDiagnostics(without), expected);
    });

    await t.test('hover gives the word\'s entry', async () => {
        assert.ok(capabilities.hoverProvider);
        const hovered =
            await session.request(protocol.HoverRequest.type, at(placeOf(document, 'setv')));
        const firstLine = hovered.contents.value.split('\n')[0];
        assert.equal(firstLine, entryOf('setv clas'));
    });

    await t.test('completion offers the words that start with what is typed', async () => {
        const typed = placeOf(document, 'mvtq');
        const prefix = 'mv';
        const answer = await session.request(
            protocol.CompletionRequest.type,
            at({line: typed.line, character: typed.character + prefix.length}));
        const items = Array.isArray(answer) ? answer : answer.items;
        const known =
            wordLines.map((line) => line.split(' ')[0]).filter((word) => word.startsWith(prefix));
        assert.deepEqual(
            [...new Set(items.map((item) => item.label))].sort(), [...new Set(known)].sort());
        for (const item of items) {
            assert.equal(item.detail, entryOf(item.label), `${item.label}'s arguments`);
            const argumentCount = entryOf(item.label).split(' ').length - 1;
            const snippet = item.textEdit ? item.textEdit.newText : item.insertText;
            assert.equal(
                (snippet.match(/\$\{\d+:/g) || []).length, argumentCount,
                `${item.label}'s snippet`);
        }
    });

    await t.test('definition goes from gsub to its subr', async () => {
        const call = placeOf(document, 'gsub roll');
        const answer = await session.request(
            protocol.DefinitionRequest.type, at({line: call.line, character: call.character + 6}));
        const location = Array.isArray(answer) ? answer[0] : answer;
        assert.equal(location.uri, uri);
        assert.equal(location.range.start.line, placeOf(document, 'subr roll').line);
    });

    await t.test('formatting gives vek format\'s layout', async () => {
        const edits = await session.request(
            protocol.DocumentFormattingRequest.type,
            {textDocument: {uri}, options: {tabSize: 4, insertSpaces: false}});
        assert.ok(edits.length > 0);
        const formatted = TextDocument.applyEdits(document, edits);
        assert.equal(formatted, run('format', source));
        document = TextDocument.update(document, [{text: formatted}], 2);
        latest = await session.diagnosticsAfter(
            () => session.notify(protocol.DidChangeTextDocumentNotification.type, {
                textDocument: {uri, version: 2},
                contentChanges: [{text: formatted}],
            }));
    });

    await t.test('a code action mends the unknown command', async () => {
        const fault = placeOf(document, 'mvtq');
        const diagnostics =
            latest.filter((diagnostic) => diagnostic.range.start.line === fault.line);
        assert.equal(diagnostics.length, 1);
        const suggested =
            [...diagnostics[0].message.matchAll(/"([^"]+)"/g)].map((match) => match[1]).slice(1);
        const actions = await session.request(protocol.CodeActionRequest.type, {
            textDocument: {uri},
            range: {start: fault, end: fault},
            context: {diagnostics},
        });
        const titled =
            actions.map((action) => suggested.find((word) => action.title.includes(`"${word}"`)));
        assert.deepEqual(
            titled, suggested, 'one fix for each word the finding suggests, in its order');

        const fix = actions[0];
        const edits = fix.edit.changes ? fix.edit.changes[uri] : fix.edit.documentChanges[0].edits;
        const mended = TextDocument.applyEdits(document, edits);
        assert.ok(mended.includes(`${suggested[0]} 1 1`));
        const after = await session.diagnosticsAfter(
            () => session.notify(
                protocol.DidChangeTextDocumentNotification.type,
                {textDocument: {uri, version: 3}, contentChanges: [{text: mended}]}));
        assert.deepEqual(
            after.filter((diagnostic) => diagnostic.severity === protocol.DiagnosticSeverity.Error),
            []);
    });

    await t.test('the server ends on shutdown and exit', async () => {
        await session.request(protocol.ShutdownRequest.type);
        session.notify(protocol.ExitNotification.type);
        assert.equal(await session.exited, 0);
    });
});

test.after(() => fs.rmSync(work, {recursive: true, force: true}));
