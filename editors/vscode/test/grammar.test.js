'use strict';
// The grammar is the one the words of a built vek give, and VS Code's own TextMate engine colours
// each word, comment, string and number with it as meant.
//   VEK=/path/to/vek node --test test/
const test = require('node:test');
const assert = require('node:assert/strict');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const textmate = require('vscode-textmate');
const oniguruma = require('vscode-oniguruma');
const {parseWords, grammarOf} = require('../tools/grammar');

const vek = process.env.VEK;
if (!vek) throw new Error('VEK names the vek program to test');
const grammarPath = path.join(__dirname, '..', 'syntaxes', 'caos-c1.tmLanguage.json');
const grammarText = fs.readFileSync(grammarPath, 'utf8');
const words = parseWords(execFileSync(vek, ['words', '--html'], {encoding: 'utf8'}));

async function loadGrammar() {
    const wasm = fs.readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm'));
    await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
    const registry = new textmate.Registry({
        onigLib: Promise.resolve({
            createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
            createOnigString: (text) => new oniguruma.OnigString(text),
        }),
        loadGrammar: async (scopeName) => scopeName === 'source.caos-c1' ?
            textmate.parseRawGrammar(grammarText, grammarPath) :
            null,
    });
    return registry.loadGrammar('source.caos-c1');
}

// The innermost scope of each token of a line, with the token's text without blanks around it.
function tokensOf(grammar, line) {
    return grammar.tokenizeLine(line, textmate.INITIAL)
        .tokens
        .map((token) => ({
                 text: line.slice(token.startIndex, token.endIndex).trim(),
                 scope: token.scopes.at(-1)
             }))
        .filter((token) => token.text !== '');
}

test('the grammar holds the words vek knows now', () => {
    assert.deepEqual(
        JSON.parse(grammarText), grammarOf(words),
        'run npm run grammar -- VEK after changing the words');
});

test('every word vek knows is coloured whole, as its kind', async () => {
    const grammar = await loadGrammar();
    const kinds = [
        {list: words.commands, scopes: ['keyword.control', 'keyword.other.command']},
        {list: words.values, scopes: ['keyword', 'support.function.value']},
        {list: words.variables, scopes: ['keyword', 'support.function.value', 'variable.language']},
    ];
    for (const {list, scopes} of kinds) {
        assert.ok(list.length > 0);
        for (const word of list) {
            for (const spelling of [word, word.toUpperCase(), word.replace(' ', '   ')]) {
                const tokens = tokensOf(grammar, `${spelling} 1`);
                assert.equal(tokens[0].text, spelling, `${spelling} is one token`);
                assert.ok(
                    scopes.some((scope) => tokens[0].scope.startsWith(scope)),
                    `${spelling}: ${tokens[0].scope}`);
            }
        }
    }
});

test('comments, strings, numbers and unknown words', async () => {
    const grammar = await loadGrammar();
    const scopeOf = (line, text) => {
        const token = tokensOf(grammar, line).find((candidate) => candidate.text === text);
        assert.ok(token, `${text} is a token of ${line}`);
        return token.scope.replace(/\.caos-c1$/, '');
    };
    const cases = [
        ['* new: simp is not read here', '* new: simp is not read here', 'comment.line.asterisk'],
        ['   * indented, still a comment', '* indented, still a comment', 'comment.line.asterisk'],
        ['anim[12321R]', '12321R', 'string.quoted.other.brackets'],
        ['anim[12321R]', 'anim', 'keyword.other.command'],
        ['sndc [Upper Case]', 'Upper Case', 'string.quoted.other.brackets'],
        ['setv var0 -5', '-5', 'constant.numeric.integer'],
        ['setv var0 -5', 'var0', 'variable.language'],
        ['doif obv2 ge 10', 'ge', 'keyword.operator.comparison'],
        ['doif obv2 ge 10 and var1 eq 0', 'and', 'keyword.operator.logical'],
        ['mvtq 1 1', 'mvtq', undefined],
        ['setv var01 2', 'var01', undefined],
        ['tick 12a', '12a', undefined],
    ];
    for (const choice of words.choices.slice(0, 3))
        cases.push([`x ${choice}`, choice, 'constant.language.choice']);
    for (const [line, text, expected] of cases) {
        const scope = scopeOf(line, text);
        if (expected)
            assert.equal(scope, expected, `${text} in ${line}`);
        else
            assert.equal(scope, 'source', `${text} in ${line} is plain`);
    }
});
