'use strict';
// How the extension starts `vek lsp` and what it tells the server; plain Node, so that it is
// tested without an editor.
const fs = require('node:fs');
const path = require('node:path');

const SECTION = 'vekstudio';

// Every setting the extension reads, with the value it takes when the user set none.
const SETTINGS = {
    gameDir: '',
    tryOnSave: false,
    serverPath: '',
};

// `settings.get(name, fallback)` as VS Code's WorkspaceConfiguration answers it.
function readSettings(settings) {
    const values = {};
    for (const [name, fallback] of Object.entries(SETTINGS))
        values[name] = settings.get(name, fallback);
    return values;
}

// The installer puts vek.exe beside the studio under Program Files.
function installedWindowsServer(env, exists) {
    for (const root of [env.ProgramW6432, env.ProgramFiles]) {
        if (!root) continue;
        const candidate = path.win32.join(root, 'Vekstudio', 'vek.exe');
        if (exists(candidate)) return candidate;
    }
    return undefined;
}

// The program to start: the configured one, else the installed one on Windows, else vek from PATH
// (where the Debian package puts it).
function serverCommand(
    values, platform = process.platform, env = process.env, exists = fs.existsSync) {
    const configured = typeof values.serverPath === 'string' ? values.serverPath.trim() : '';
    if (configured) return configured;
    if (platform === 'win32') return installedWindowsServer(env, exists) || 'vek.exe';
    return 'vek';
}

// The server reads its settings nested under the section, both at start and when they change.
function serverSettings(values) {
    return {[SECTION]: {gameDir: values.gameDir, tryOnSave: values.tryOnSave}};
}

module.exports = {
    SECTION,
    SETTINGS,
    readSettings,
    serverCommand,
    serverSettings
};
