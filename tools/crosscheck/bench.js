// Times the independent validators on the inputs the C++ benchmark writes (a JSON
// file: {"cpf":[...],"cnpj":[...],"ie":[[uf,ie],...],"extenso":["1234,56",...]}) and
// prints their operations per second as one JSON object.
'use strict';
const fs = require('fs');
const { cpf, cnpj } = require('cpf-cnpj-validator');
const brv = require('br-validations');
const inscricaoEstadual = require('inscricaoestadual');
const extenso = require('extenso');

const inputs = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));
const minSeconds = Number(process.argv[3] || 1);

// Calls fn over the inputs, round after round, for at least minSeconds of CPU time
// (at most a million rounds); answers operations per CPU second, as the C++ benchmark
// counts them, so a busy machine does not tilt the ratio. A first round warms the JIT up.
function time(list, fn) {
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
const result = {
  cpf: { 'cpf-cnpj-validator': time(inputs.cpf, (v) => cpf.isValid(v)), 'br-validations': time(inputs.cpf, (v) => brv.cpf.validate(v)) },
  cnpj: { 'cpf-cnpj-validator': time(inputs.cnpj, (v) => cnpj.isValid(v)), 'br-validations': time(inputs.cnpj, (v) => brv.cnpj.validate(v)) },
  ie: { 'br-validations': time(ie, ([uf, v]) => brv.ie(uf).validate(v)), inscricaoestadual: time(ie, ([, v, uf]) => inscricaoEstadual(v, uf)) },
  extenso: { extenso: time(inputs.extenso, (v) => extenso(v, { mode: 'currency' }).length > 0) },
};
process.stdout.write(JSON.stringify(result) + '\n');
