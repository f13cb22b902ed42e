'use strict';
// Starts `vek lsp` for the game's macro sources and keeps it in step with the settings.
const vscode = require('vscode');
const {LanguageClient} = require('vscode-languageclient/node');
const {SECTION, readSettings, serverCommand, serverSettings} = require('./launch');

const LANGUAGE = 'caos-c1';
let client;

function createClient() {
    const values = readSettings(vscode.workspace.getConfiguration(SECTION));
    const serverOptions = {command: serverCommand(values), args: ['lsp']};
    const clientOptions = {
        documentSelector: [
            {scheme: 'file', language: LANGUAGE},
            {scheme: 'untitled', language: LANGUAGE},
        ],
        initializationOptions: serverSettings(values),
        // Changed settings reach the server as the whole section, nested as at the start.
        synchronize: {configurationSection: SECTION},
    };
    return new LanguageClient('vekstudio', 'vek language server', serverOptions, clientOptions);
}

async function start() {
    client = createClient();
    try {
        await client.start();
    } catch (error) {
        const reason = error && error.message ? error.message : String(error);
        vscode.window.showErrorMessage(
            `The vek language server did not start (${
                reason}). Install Vekstudio, or name its vek ` +
            `program in the setting ${SECTION}.serverPath.`);
    }
}

async function stop() {
    const running = client;
    client = undefined;
    if (!running) return;
    try {
        await running.stop();
    } catch {
        // A server that never started has nothing to stop.
    }
}

async function restart() {
    await stop();
    await start();
}

function activate(context) {
    context.subscriptions.push(
        vscode.commands.registerCommand(`${SECTION}.restartServer`, restart),
        vscode.workspace.onDidChangeConfiguration((event) => {
            // The other settings reach the running server; another program needs a new one.
            if (event.affectsConfiguration(`${SECTION}.serverPath`)) restart();
        }));
    return start();
}

function deactivate() {
    return stop();
}

module.exports = {
    activate,
    deactivate
};
