'use strict';
// The manifest, the files it names and the settings the extension reads agree with each other.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {SECTION, SETTINGS, readSettings, serverCommand, serverSettings} = require('../launch');

const root = path.join(__dirname, '..');
const readJson = (name) => JSON.parse(fs.readFileSync(path.join(root, name), 'utf8'));
const manifest = readJson('package.json');
const declared = manifest.contributes.configuration.properties;
const extensionSource = fs.readFileSync(path.join(root, 'extension.js'), 'utf8');

test('the manifest and every file it names are there and valid', () => {
    assert.equal(manifest.name, 'vekstudio');
    assert.ok(fs.existsSync(path.join(root, manifest.main)), manifest.main);
    const [language] = manifest.contributes.languages;
    assert.deepEqual(language.extensions.sort(), ['.cos', '.mac']);
    readJson(language.configuration);
    for (const grammar of manifest.contributes.grammars) {
        assert.equal(grammar.language, language.id);
        assert.equal(readJson(grammar.path).scopeName, grammar.scopeName);
    }
    assert.ok(
        manifest.dependencies['vscode-languageclient'], 'the client ships with the extension');
});

test('every setting the extension reads is declared with its default', () => {
    for (const [name, fallback] of Object.entries(SETTINGS)) {
        const setting = declared[`${SECTION}.${name}`];
        assert.ok(setting, `${name} is declared`);
        assert.equal(setting.type, typeof fallback, `${name}'s type`);
        assert.equal(setting.default, fallback, `${name}'s default`);
    }
    assert.deepEqual(
        Object.keys(declared).sort(),
        Object.keys(SETTINGS).map((name) => `${SECTION}.${name}`).sort(),
        'nothing is declared that is not read');
    const named = [...extensionSource.matchAll(/\$\{SECTION\}\.(\w+)/g)].map((match) => match[1]);
    const commands = manifest.contributes.commands.map((command) => command.command);
    for (const name of named) {
        assert.ok(
            name in SETTINGS || commands.includes(`${SECTION}.${name}`),
            `${name} is a setting or a command`);
    }
    for (const [, name] of extensionSource.matchAll(/registerCommand\(`\$\{SECTION\}\.(\w+)`/g))
        assert.ok(commands.includes(`${SECTION}.${name}`), `the command ${name} is declared`);
});

test('settings left unset take their defaults', () => {
    const set = new Map([['gameDir', '/games/Creatures']]);
    const values =
        readSettings({get: (name, fallback) => (set.has(name) ? set.get(name) : fallback)});
    assert.deepEqual(values, {...SETTINGS, gameDir: '/games/Creatures'});
    assert.deepEqual(
        serverSettings(values), {vekstudio: {gameDir: '/games/Creatures', tryOnSave: false}});
});

test('the server program is found where the platform keeps it', () => {
    const installed = 'C:\\Program Files\\Vekstudio\\vek.exe';
    const cases = [
        {
            what: 'a configured path wins',
            serverPath: ' /opt/vek/bin/vek ',
            platform: 'win32',
            files: [installed],
            expected: '/opt/vek/bin/vek'
        },
        {
            what: 'Linux takes vek from PATH',
            serverPath: '',
            platform: 'linux',
            files: [],
            expected: 'vek'
        },
        {
            what: 'blanks name no program',
            serverPath: '   ',
            platform: 'linux',
            files: [],
            expected: 'vek'
        },
        {
            what: 'Windows takes the installed one',
            serverPath: '',
            platform: 'win32',
            files: [installed],
            expected: installed
        },
        {
            what: 'Windows without an installation takes PATH',
            serverPath: '',
            platform: 'win32',
            files: [],
            expected: 'vek.exe'
        },
    ];
    const env = {ProgramFiles: 'C:\\Program Files'};
    for (const {what, serverPath, platform, files, expected} of cases) {
        const exists = (candidate) => files.includes(candidate);
        assert.equal(
            serverCommand({...SETTINGS, serverPath}, platform, env, exists), expected, what);
    }
});
