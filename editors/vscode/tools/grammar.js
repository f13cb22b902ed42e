'use strict';
// Builds the TextMate grammar from the word list that `vek words --html` prints, so that the
// editor colours exactly the words the checker knows.

const SCOPE = 'caos-c1';

// Words that open, divide or close a block or a script: coloured as control flow.
const CONTROL_WORDS = new Set([
    'doif', 'else', 'endi', 'enum', 'next', 'repe', 'reps', 'loop', 'untl', 'ever',
    'scrp', 'endm', 'inst', 'subr', 'gsub', 'retn', 'stop', 'iscr', 'rscr', 'scrx',
]);

// What may stand beside a word's letters and still belong to it (`say$`, `stm#`, `new:`).
const WORD_CHARACTERS = String.raw`\w$#!:*`;

const ENTITIES = {
    amp: '&',
    lt: '<',
    gt: '>',
    quot: '"',
    '#39': '\''
};

function decode(text) {
    return text.replace(/&(amp|lt|gt|quot|#39);/g, (_, name) => ENTITIES[name]);
}

// The page lists the commands first, the variables last and the values between them; each entry
// names its word (one or two parts) and opens with it and its arguments, the choices of an
// argument joined by `|`.
function parseWords(html) {
    const sections = html.split(/<h2>/).slice(1);
    if (sections.length < 2) throw new Error('the word list has no sections');
    const wordsOf = (section) =>
        [...new Set([...section.matchAll(/<dt id="([^"]*)"/g)].map((match) => decode(match[1]))),
    ];
    const choices = new Set();
    for (const match of html.matchAll(/<dd>([^<]*)<br>/g)) {
        for (const argument of decode(match[1]).split(/\s+/)) {
            if (argument.includes('|'))
                argument.split('|').forEach((choice) => choices.add(choice));
        }
    }
    return {
        commands: wordsOf(sections[0]),
        values: [...new Set(sections.slice(1, -1).flatMap(wordsOf))],
        variables: wordsOf(sections[sections.length - 1]),
        choices: [...choices],
    };
}

function escapeRegex(text) {
    return text.replace(/[\\^$.*+?()[\]{}|]/g, '\\$&');
}

// One alternation of whole words; longer first, and a word of two parts may have any blanks
// between them.
function alternationOf(words) {
    const sorted = [...words].sort((a, b) => b.length - a.length || a.localeCompare(b));
    const body = sorted.map((word) => word.split(' ').map(escapeRegex).join(String.raw`\s+`));
    return `(?i)(?<![${WORD_CHARACTERS}])(?:${body.join('|')})(?![${WORD_CHARACTERS}])`;
}

function grammarOf(words) {
    const control = words.commands.filter((word) => CONTROL_WORDS.has(word));
    const commands = words.commands.filter((word) => !CONTROL_WORDS.has(word));
    const values = words.values.filter((word) => !words.commands.includes(word));
    const variables = words.variables.filter(
        (word) => !words.commands.includes(word) && !words.values.includes(word));
    const pattern = (name, list) => ({name: `${name}.${SCOPE}`, match: alternationOf(list)});
    return {
        $schema: 'https://raw.githubusercontent.com/martinring/tmlanguage/master/tmlanguage.json',
        name: 'CAOS (Creatures 1)',
        scopeName: `source.${SCOPE}`,
        comment: 'Written by tools/write-grammar.js from the words of `vek words --html`.',
        patterns: [
            {name: `comment.line.asterisk.${SCOPE}`, match: String.raw`^\s*\*.*$`},
            {include: '#string'},
            pattern('keyword.control', control),
            pattern('keyword.other.command', commands),
            pattern('support.function.value', values),
            pattern('variable.language', variables),
            pattern('keyword.operator.comparison', ['eq', 'ne', 'lt', 'gt', 'le', 'ge']),
            pattern('keyword.operator.logical', ['and', 'or']),
            pattern('constant.language.choice', words.choices),
            {
                name: `constant.numeric.integer.${SCOPE}`,
                match: `(?<![${WORD_CHARACTERS}])-?[0-9]+(?![${WORD_CHARACTERS}])`,
            },
        ],
        repository: {
            string: {
                name: `string.quoted.other.brackets.${SCOPE}`,
                begin: String.raw`\[`,
                end: String.raw`\]`,
                beginCaptures: {0: {name: `punctuation.definition.string.begin.${SCOPE}`}},
                endCaptures: {0: {name: `punctuation.definition.string.end.${SCOPE}`}},
            },
        },
    };
}

module.exports = {
    parseWords,
    grammarOf,
    CONTROL_WORDS
};
