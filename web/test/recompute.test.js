// The web viewer recomputes every figure to the same doubles as the desktop core. Arithmetic
// and square roots are exact in both, so every value that comes from them equals kvtool's to
// the last bit. Sine, cosine, tangent, arctangent and powers come from each platform's C
// library, and the two libraries round some results differently in the last place; values
// that depend on them (rotations, angles, regular polygons) may differ in the last places,
// never by more than 1e-12 (relative above 1), and never in whether an object is defined.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');

const sourceDir = process.env.KV_SOURCE_DIR || path.join(__dirname, '..', '..');
const viewerPath = process.env.KV_VIEWER || path.join(sourceDir, 'build', 'kvview.js');
const kvtool = process.env.KV_TOOL || path.join(sourceDir, 'build', 'kvtool');
const viewer = require(viewerPath);

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'kvview-test-'));
process.on('exit', () => fs.rmSync(scratch, { recursive: true, force: true }));

function tool(...args) {
  return execFileSync(kvtool, args, { encoding: 'utf8', maxBuffer: 1 << 28 });
}

// The figures compared: every sample, all samples merged into one figure, and a figure of more
// than 10,000 objects made by merging a sample with itself.
function figures() {
  const samples = fs.readdirSync(path.join(sourceDir, 'samples'))
    .filter((f) => f.endsWith('.kv4')).sort()
    .map((f) => path.join(sourceDir, 'samples', f));
  const all = path.join(scratch, 'all_samples.kv4');
  fs.copyFileSync(samples[0], all);
  for (const s of samples.slice(1)) tool('merge', all, s, all);
  let big = path.join(scratch, 'big.kv4');
  fs.copyFileSync(path.join(sourceDir, 'samples', 'nine_point_circle.kv4'), big);
  for (let i = 0; i < 10; ++i) tool('merge', big, big, big);
  return [...samples, all, big];
}

const kRelativeBound = 1e-12;

// Compares two texts line by line and field by field. Fields that are not numbers must be
// equal; numbers may differ within the bound. Returns the first fault (or ''), the count of
// the numbers that are not bit-identical and their largest difference (relative above 1).
function compare(viewerText, toolText) {
  const la = viewerText.split(/\r?\n/);
  const lb = toolText.split(/\r?\n/);
  const result = { fault: '', inexact: 0, largest: 0 };
  if (la.length !== lb.length) {
    result.fault = `line counts differ: viewer ${la.length}, kvtool ${lb.length}`;
    return result;
  }
  for (let i = 0; i < la.length && !result.fault; ++i) {
    if (la[i] === lb[i]) continue;
    const fa = la[i].split(/([ ,])/);
    const fb = lb[i].split(/([ ,])/);
    const where = `line ${i + 1}: viewer "${la[i]}" kvtool "${lb[i]}"`;
    if (fa.length !== fb.length) {
      result.fault = where;
      break;
    }
    for (let k = 0; k < fa.length; ++k) {
      if (fa[k] === fb[k]) continue;
      const a = Number(fa[k]);
      const b = Number(fb[k]);
      if (fa[k].trim() === '' || isNaN(a) || isNaN(b) ||
          Math.abs(a - b) > kRelativeBound * Math.max(1, Math.abs(b))) {
        result.fault = where;
        break;
      }
      ++result.inexact;
      result.largest = Math.max(result.largest, Math.abs(a - b) / Math.max(1, Math.abs(b)));
    }
  }
  return result;
}

test('viewer and kvtool agree to the last bit', async (t) => {
  const module = await viewer.createKvView();
  let objects = 0;
  for (const file of figures()) {
    await t.test(path.basename(file), () => {
      const figure = new viewer.Figure(module, fs.readFileSync(file));
      try {
        assert.ok(figure.ok, figure.error);
        objects = Math.max(objects, figure.objectCount);
        // 17 significant digits give every double back exactly, so equal text is equal bits.
        const actual = figure.coordinates();
        assert.ok(actual.length > 0);
        const coords = compare(actual, tool('coords', file));
        assert.strictEqual(coords.fault, '');
        if (coords.inexact > 0) {
          t.diagnostic(`${path.basename(file)}: ${coords.inexact} values not bit-identical, ` +
                       `differing by at most ${coords.largest.toExponential(2)}`);
        }

        const out = path.join(scratch, 'recomputed.kv4');
        tool('recompute', file, out);
        const written = new TextDecoder('shift_jis').decode(fs.readFileSync(out));
        const text = compare(figure.fileText(), written);
        assert.strictEqual(text.fault, '');
        // Where every double is identical, so is every byte of the file.
        if (coords.inexact === 0) assert.strictEqual(text.inexact, 0);
      } finally {
        figure.dispose();
      }
    });
  }
  assert.ok(objects > 10000, `largest figure has ${objects} objects`);
});

test('a damaged figure is refused with the line where reading stopped', async () => {
  const module = await viewer.createKvView();
  const good = fs.readFileSync(path.join(sourceDir, 'samples', 'euler_line.kv4'), 'latin1');
  const lines = good.split('\r\n');
  lines[20] = 'x,y';
  const figure = new viewer.Figure(module, Buffer.from(lines.join('\r\n'), 'latin1'));
  assert.strictEqual(figure.ok, false);
  assert.match(figure.error, /line 21/);
  figure.dispose();

  const empty = new viewer.Figure(module, new Uint8Array(0));
  assert.strictEqual(empty.ok, false);
  empty.dispose();
});

test('complex-number figures are reported for the complex view', async () => {
  const module = await viewer.createKvView();
  const read = (name) => new viewer.Figure(
    module, fs.readFileSync(path.join(sourceDir, 'samples', name)));
  const complex = read('complex_numbers.kv4');
  const plain = read('euler_line.kv4');
  assert.strictEqual(complex.complex, true);
  assert.strictEqual(plain.complex, false);
  complex.dispose();
  plain.dispose();
});

test('kvtool html puts the figure and the viewer beside the page', () => {
  const sample = path.join(sourceDir, 'samples', 'circumcircle.kv4');
  const folder = fs.mkdtempSync(path.join(scratch, 'export-'));
  const page = path.join(folder, 'page.htm');
  tool('html', sample, page);
  // The page links the figure by its own name, so the figure must be there, unchanged.
  assert.deepStrictEqual(fs.readFileSync(path.join(folder, 'circumcircle.kv4')),
    fs.readFileSync(sample));
  assert.ok(fs.statSync(path.join(folder, 'kvview.js')).size > 100000);
  const html = fs.readFileSync(page, 'utf8');
  assert.match(html, /<a href="circumcircle\.kv4" download>/);
  assert.match(html, /<script type="application\/x-kv4"[^>]* data-name="circumcircle\.kv4"/);

  // Another file of that name beside the page is neither replaced nor linked.
  const other = fs.mkdtempSync(path.join(scratch, 'export-'));
  fs.writeFileSync(path.join(other, 'circumcircle.kv4'), 'not this figure');
  assert.throws(() => execFileSync(kvtool, ['html', sample, path.join(other, 'page.htm')],
    { stdio: 'pipe' }), /another file/);
  assert.strictEqual(fs.readFileSync(path.join(other, 'circumcircle.kv4'), 'utf8'),
    'not this figure');
  assert.ok(!fs.existsSync(path.join(other, 'page.htm')));
});
