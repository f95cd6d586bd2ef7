// Answers, line by line, what the independent validators say about the inputs
// given on standard input as JSON lines:
//   {"k":"cpf"|"cnpj"|"pis","v":"..."}    -> {"cpfCnpjValidator":bool,"brValidations":bool}
//   {"k":"ie","uf":"SP","v":"..."}        -> {"brValidations":bool,"inscricaoEstadual":bool}
//   {"k":"extenso","v":"1234,56"}         -> {"extenso":"mil duzentos e ..."}
'use strict';
const readline = require('readline');
const { cpf, cnpj } = require('cpf-cnpj-validator');
const brv = require('br-validations');
const inscricaoEstadual = require('inscricaoestadual');
const extenso = require('extenso');

function attempt(fn) {
  try {
    return fn();
  } catch (e) {
    return 'error: ' + e.message;
  }
}

function answer(q) {
  switch (q.k) {
    case 'cpf':
      return { cpfCnpjValidator: attempt(() => cpf.isValid(q.v)), brValidations: attempt(() => brv.cpf.validate(q.v)) };
    case 'cnpj':
      return { cpfCnpjValidator: attempt(() => cnpj.isValid(q.v)), brValidations: attempt(() => brv.cnpj.validate(q.v)) };
    case 'pis':
      return { brValidations: attempt(() => brv.pis.validate(q.v)) };
    case 'ie':
      return {
        brValidations: attempt(() => brv.ie(q.uf).validate(q.v)),
        inscricaoEstadual: attempt(() => inscricaoEstadual(q.v, q.uf.toLowerCase())),
      };
    case 'extenso':
      return { extenso: attempt(() => extenso(q.v, { mode: 'currency' })) };
    default:
      return { error: 'unknown kind ' + q.k };
  }
}

const rl = readline.createInterface({ input: process.stdin });
rl.on('line', (line) => {
  if (!line.trim()) return;
  process.stdout.write(JSON.stringify(answer(JSON.parse(line))) + '\n');
});
