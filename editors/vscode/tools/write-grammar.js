'use strict';
// Writes syntaxes/caos-c1.tmLanguage.json from the words a built vek knows:
//   node tools/write-grammar.js [VEK]      (VEK defaults to vek from PATH)
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const {parseWords, grammarOf} = require('./grammar');

const vek = process.argv[2] || 'vek';
const html = execFileSync(vek, ['words', '--html'], {encoding: 'utf8'});
const target = path.join(__dirname, '..', 'syntaxes', 'caos-c1.tmLanguage.json');
fs.writeFileSync(target, JSON.stringify(grammarOf(parseWords(html)), null, 2) + '\n');
console.log(`wrote ${path.relative(process.cwd(), target)}`);
