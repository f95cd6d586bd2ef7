// Times the independent validators on the inputs the C++ benchmark writes (a JSON
// file: {"cpf":[...],"cnpj":[...],"cnpjAlfanumerico":[...],"ie":[[uf,ie],...],"extenso":["1234,56",...]}).
//   node bench.js INPUTS [SECONDS]      every validator once: one JSON object of operations per second
//   node bench.js INPUTS --serve        one line "KIND PACKAGE SECONDS" in, operations per second out,
//                                       so the C++ side can take turns with each validator
'use strict';
const fs = require('fs');
const readline = require('readline');
const { cpf, cnpj } = require('cpf-cnpj-validator');
const brv = require('br-validations');
const inscricaoEstadual = require('inscricaoestadual');
const extenso = require('extenso');

const inputs = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));

// Calls fn over the inputs, round after round, for at least minSeconds of CPU time
// (at most a million rounds); answers operations per CPU second, as the C++ benchmark
// counts them, so a busy machine does not tilt the ratio. A first round warms the JIT up.
function time(list, fn, minSeconds) {
  let sink = 0;
  for (const x of list) sink += fn(x) ? 1 : 0;
  let ops = 0;
  const start = process.cpuUsage();
  let elapsed = 0;
  for (let round = 0; round < 1000000 && elapsed < minSeconds; ++round) {
    for (const x of list) sink += fn(x) ? 1 : 0;
    ops += list.length;
    const used = process.cpuUsage(start);
    elapsed = (used.user + used.system) / 1e6;
  }
  if (sink < 0) console.error(sink);
  return ops / elapsed;
}

const ie = inputs.ie.map(([uf, v]) => [uf, v, uf.toLowerCase()]);
// kind -> package -> [inputs, call]
const validators = {
  cpf: { 'cpf-cnpj-validator': [inputs.cpf, (v) => cpf.isValid(v)], 'br-validations': [inputs.cpf, (v) => brv.cpf.validate(v)] },
  cnpj: { 'cpf-cnpj-validator': [inputs.cnpj, (v) => cnpj.isValid(v)], 'br-validations': [inputs.cnpj, (v) => brv.cnpj.validate(v)] },
  // br-validations does not know letters in a CNPJ.
  cnpjAlfanumerico: { 'cpf-cnpj-validator': [inputs.cnpjAlfanumerico, (v) => cnpj.isValid(v)] },
  ie: { 'br-validations': [ie, ([uf, v]) => brv.ie(uf).validate(v)], inscricaoestadual: [ie, ([, v, uf]) => inscricaoEstadual(v, uf)] },
  extenso: { extenso: [inputs.extenso, (v) => extenso(v, { mode: 'currency' }).length > 0] },
};

if (process.argv[3] === '--serve') {
  // Answers in order, one line per request; an unknown validator answers 0.
  const rl = readline.createInterface({ input: process.stdin });
  rl.on('line', (line) => {
    const [kind, pkg, seconds] = line.trim().split(/\s+/);
    const v = validators[kind] && validators[kind][pkg];
    process.stdout.write((v ? time(v[0], v[1], Number(seconds) || 0.2) : 0) + '\n');
  });
} else {
  const minSeconds = Number(process.argv[3] || 1);
  const result = {};
  for (const [kind, packages] of Object.entries(validators)) {
    result[kind] = {};
    for (const [pkg, [list, fn]] of Object.entries(packages)) result[kind][pkg] = time(list, fn, minSeconds);
  }
  process.stdout.write(JSON.stringify(result) + '\n');
}
