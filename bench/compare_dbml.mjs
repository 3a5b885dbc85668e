#!/usr/bin/env node
// Times `kzr40 sql` beside @dbml/core's exporter.export(dbml, 'postgres') on the same synthetic model:
// 10,000 tables of 20 columns, a two-column primary key and two secondary indexes each.
//
//   node bench/compare_dbml.mjs [--build DIR] [--entities N] [--attributes M] [--runs R] [--keep]
//
// The diagram file comes from DIR/bench/synthetic_diagram (built with the project, default DIR build);
// the DBML is written from that same file. @dbml/core is installed with npm into a scratch folder
// under the system's temporary directory, never into the repository.

import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { performance } from 'node:perf_hooks';

function options(argv) {
  const o = { build: 'build', entities: 10000, attributes: 20, runs: 3, keep: false };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    if (a === '--help' || a === '-h') {
      console.log('usage: node bench/compare_dbml.mjs [--build DIR] [--entities N] [--attributes M] [--runs R] [--keep]');
      process.exit(0);
    } else if (a === '--keep') o.keep = true;
    else if (['--build', '--entities', '--attributes', '--runs'].includes(a) && i + 1 < argv.length) {
      const v = argv[++i];
      o[a.slice(2)] = a === '--build' ? v : Number(v);
    } else {
      console.error(`compare_dbml: unknown argument ${a} (see --help)`);
      process.exit(2);
    }
  }
  return o;
}

// SQL-side type of each field type the synthetic diagram uses, as a DBML user would write it.
function dbmlType(a) {
  switch (a.tipo) {
    case 'String': return `varchar(${a.tamanho})`;
    case 'Float': return `decimal(${a.tamanho},${a.decimais})`;
    case 'BCD': return `numeric(${a.tamanho},${a.decimais})`;
    case 'SmallInt': return 'smallint';
    case 'Integer': return 'integer';
    case 'Boolean': return 'boolean';
    case 'Date': return 'date';
    case 'Memo': return 'text';
    default: throw new Error(`no DBML type for ${a.tipo}`);
  }
}

function toDbml(diagram) {
  const out = [];
  for (const e of diagram.entities) {
    out.push(`Table "${e.tabela}" {`);
    for (const a of e.atributos) out.push(`  "${a.nome}" ${dbmlType(a)}${a.nullable ? '' : ' [not null]'}`);
    out.push('  indexes {');
    const keys = e.atributos.filter((a) => a.key).map((a) => `"${a.nome}"`);
    out.push(`    (${keys.join(', ')}) [pk]`);
    for (const k of e.ChavesSecundarias) {
      const fields = (Array.isArray(k.campos) ? k.campos : k.campos.split('+')).map((f) => `"${f}"`);
      out.push(`    (${fields.join(', ')}) [name: '${k.nome}'${k.duplicates ? '' : ', unique'}]`);
    }
    out.push('  }', '}', '');
  }
  return out.join('\n');
}

function best(runs, f) {
  let fastest = Infinity;
  let result;
  for (let i = 0; i < runs; i++) {
    const start = performance.now();
    result = f();
    fastest = Math.min(fastest, performance.now() - start);
  }
  return { ms: fastest, result };
}

const o = options(process.argv.slice(2));
const build = resolve(o.build);
const kzr40 = join(build, 'kzr40');
const generator = join(build, 'bench', 'synthetic_diagram');
for (const program of [kzr40, generator]) {
  if (!existsSync(program)) {
    console.error(`compare_dbml: ${program} is missing: build the project first (scripts/build.sh)`);
    process.exit(1);
  }
}
if (spawnSync('npm', ['--version']).status !== 0) {
  console.error('compare_dbml: npm is missing: install Node.js with npm (Debian packages nodejs and npm)');
  process.exit(1);
}

const scratch = mkdtempSync(join(tmpdir(), 'kzr40-dbml-'));
try {
  const jsonPath = join(scratch, 'diagram.json');
  const dbmlPath = join(scratch, 'diagram.dbml');
  const json = execFileSync(generator, [String(o.entities), String(o.attributes)], { maxBuffer: 1 << 30 });
  writeFileSync(jsonPath, json);
  const dbml = toDbml(JSON.parse(json.toString('utf8')));
  writeFileSync(dbmlPath, dbml);

  console.log(`installing @dbml/core into ${scratch} ...`);
  execFileSync('npm', ['install', '--prefix', scratch, '--no-audit', '--no-fund', '--silent', '@dbml/core'], {
    stdio: 'inherit',
  });
  const require = createRequire(join(scratch, 'package.json'));
  const { exporter } = require('@dbml/core');
  const version = JSON.parse(readFileSync(join(scratch, 'node_modules', '@dbml', 'core', 'package.json'))).version;

  const sqlPath = join(scratch, 'diagram.sql');
  const ours = best(o.runs, () => {
    const run = spawnSync(kzr40, ['sql', jsonPath, '-o', sqlPath], { env: { ...process.env, SOURCE_DATE_EPOCH: '0' } });
    if (run.status !== 0) throw new Error(`kzr40 sql failed: ${run.stderr}`);
  });
  let memory = '';
  const timed = spawnSync('/usr/bin/time', ['-v', kzr40, 'sql', jsonPath, '-o', sqlPath], { encoding: 'utf8' });
  const peak = /Maximum resident set size \(kbytes\): (\d+)/.exec(timed.stderr ?? '');
  if (peak) memory = `, peak memory ${(Number(peak[1]) / 1024).toFixed(1)} MiB`;

  const theirs = best(o.runs, () => exporter.export(dbml, 'postgres'));

  console.log(`model: ${o.entities} tables x ${o.attributes} columns; diagram file ${(json.length / 1e6).toFixed(1)} MB, ` +
              `DBML ${(dbml.length / 1e6).toFixed(1)} MB`);
  console.log(`kzr40 sql (whole process, JSON included): ${ours.ms.toFixed(0)} ms${memory}`);
  console.log(`@dbml/core ${version} exporter.export(dbml, 'postgres'): ${theirs.ms.toFixed(0)} ms ` +
              `(${(theirs.result.length / 1e6).toFixed(1)} MB of SQL)`);
  console.log(`ratio: @dbml/core takes ${(theirs.ms / ours.ms).toFixed(1)} times as long (best of ${o.runs} runs each)`);
  if (o.keep) console.log(`files kept in ${scratch}`);
} finally {
  if (!o.keep) rmSync(scratch, { recursive: true, force: true });
}
