// A drag in the web viewer ends where the desktop program's drag ends: the same presses, moves
// and releases through the module and through kvtool play give the same figure to the last
// bit, for free points, a point on a circle and a line taken by its body.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');

const sourceDir = process.env.KV_SOURCE_DIR || path.join(__dirname, '..', '..');
const viewer = require(process.env.KV_VIEWER || path.join(sourceDir, 'build', 'kvview.js'));
const kvtool = process.env.KV_TOOL || path.join(sourceDir, 'build', 'kvtool');

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'kvview-drag-'));
process.on('exit', () => fs.rmSync(scratch, { recursive: true, force: true }));

const kScale = 0.05;
const kView = { width: 640, height: 480, scale: kScale, fontSize: 9 };

// The pixel grid of mouse positions, written out from its definition: positive coordinates go
// to the next grid value strictly above, the others to the grid value at or below.
function quantise(v, u = kScale) {
  if (u === 0) return v;
  return v > 0 ? Math.floor(v / u + 1) * u : Math.floor(v / u) * u;
}

function read(module, file) {
  const figure = new viewer.Figure(module, fs.readFileSync(file));
  assert.ok(figure.ok, figure.error);
  figure.setView(kView);
  return figure;
}

function samples() {
  return fs.readdirSync(path.join(sourceDir, 'samples')).filter((f) => f.endsWith('.kv4'))
    .sort().map((f) => path.join(sourceDir, 'samples', f));
}

// Lines equal, or numbers within 1e-12 (relative above 1) where the C libraries' sines and
// arctangents round differently in the last place.
function sameNumbers(actual, expected, what) {
  const a = actual.split(/\r?\n/);
  const b = expected.split(/\r?\n/);
  assert.strictEqual(a.length, b.length, `${what}: line counts`);
  for (let i = 0; i < a.length; ++i) {
    if (a[i] === b[i]) continue;
    const fa = a[i].split(/[ ,]/);
    const fb = b[i].split(/[ ,]/);
    const close = fa.length === fb.length && fa.every((x, k) => x === fb[k] ||
      Math.abs(Number(x) - Number(fb[k])) <= 1e-12 * Math.max(1, Math.abs(Number(fb[k]))));
    assert.ok(close, `${what}, line ${i + 1}: viewer "${a[i]}", kvtool "${b[i]}"`);
  }
}

// Drags as kvtool play's `drag X1 Y1 X2 Y2 STEPS` makes them: a press, STEPS moves along the
// way (the same arithmetic, so the same doubles), a release.
function drag(figure, x1, y1, x2, y2, steps) {
  const target = figure.press(x1, y1, true);
  for (let k = 1; k <= steps; ++k) {
    const t = k / steps;
    figure.move(x1 + (x2 - x1) * t, y1 + (y2 - y1) * t, true);
  }
  figure.release();
  return target;
}

function dragsOf(file, figure) {
  const drags = [];
  // The first point of every figure, down and left past the centre, then up and right.
  const p = figure.point(1);
  drags.push([p.x, p.y, Math.min(p.x, 0) - 1.63, Math.min(p.y, 0) - 0.71, 6]);
  drags.push([Math.min(p.x, 0) - 1.63, Math.min(p.y, 0) - 0.71, 2.37, 1.13, 9]);
  const name = path.basename(file);
  // P rides on its circle; side AB is taken by its body.
  if (name === 'locus_midpoint.kv4') drags.push([3, 0, 0.41, 2.93, 5], [0.41, 2.93, -2, -4, 3]);
  if (name === 'euler_line.kv4') drags.push([2.5, -3.02, 3.27, -1.5, 4]);
  return drags;
}

test('drags through the module end as kvtool play ends the same drags', async (t) => {
  const module = await viewer.createKvView();
  for (const file of samples()) {
    await t.test(path.basename(file), () => {
      const figure = read(module, file);
      try {
        const drags = dragsOf(file, figure);
        let dragged = 0;
        for (const d of drags) dragged += drag(figure, ...d) !== 0 ? 1 : 0;
        // Every figure has a free first point except the two whose first point is locked.
        assert.ok(dragged >= drags.length - 2, `${dragged} of ${drags.length} drags`);

        const script = path.join(scratch, 'drag.play');
        const out = path.join(scratch, 'dragged.kv4');
        fs.writeFileSync(script, drags.map((d) => `drag ${d.join(' ')}\n`).join(''));
        execFileSync(kvtool, ['play', script, file, out], { stdio: 'pipe' });
        const written = new TextDecoder('shift_jis').decode(fs.readFileSync(out));
        sameNumbers(figure.fileText(), written, 'file text');
        sameNumbers(figure.coordinates(),
          execFileSync(kvtool, ['coords', out], { encoding: 'utf8' }), 'coordinates');
      } finally {
        figure.dispose();
      }
    });
  }
});

test('moves go to the pixel grid of the view scale, and nothing moves without a press',
  async () => {
    const module = await viewer.createKvView();
    const figure = read(module, path.join(sourceDir, 'samples', 'circumcircle.kv4'));
    // Ten pixels a unit: the grid is 0.1 wide.
    figure.setView({ ...kView, scale: 0.1 });
    const a = figure.point(1);
    assert.strictEqual(figure.move(1, 1, true), false);
    assert.deepStrictEqual(figure.point(1), a);
    assert.strictEqual(figure.press(a.x, a.y, true), 1);
    for (const [x, y, ex, ey] of [[0.05, -0.05, 0.1, -0.1], [-1.01, 2.01, -1.1, 2.1]]) {
      figure.move(x, y, true);
      const p = figure.point(1);
      assert.ok(Math.abs(p.x - ex) < 1e-12 && Math.abs(p.y - ey) < 1e-12,
        `(${x}, ${y}) went to (${p.x}, ${p.y})`);
    }
    figure.release();
    assert.strictEqual(figure.dragging, false);
    // The circumcentre (point 4) is as far from all three vertices after the drag.
    const [p1, p2, p3, o] = [1, 2, 3, 4].map((i) => figure.point(i));
    const d = (q) => Math.hypot(q.x - o.x, q.y - o.y);
    assert.ok(Math.abs(d(p1) - d(p2)) < 1e-9 && Math.abs(d(p1) - d(p3)) < 1e-9);
    figure.dispose();
  });

test('a line through two free points dragged by its body carries both points', async () => {
  const module = await viewer.createKvView();
  // Side AB of the triangle runs along y = -3 from A = (-5, -3) to B = (6, -3).
  const figure = read(module, path.join(sourceDir, 'samples', 'euler_line.kv4'));
  const [a, b, c] = [1, 2, 3].map((i) => figure.point(i));
  assert.strictEqual(figure.hover(2.5, -3.02, true), 2);
  assert.strictEqual(figure.press(2.5, -3.02, true), 2);
  figure.move(3.27, -1.5, true);
  figure.release();
  const dx = quantise(3.27) - 2.5;
  const dy = quantise(-1.5) + 3.02;
  const [a2, b2, c2] = [1, 2, 3].map((i) => figure.point(i));
  for (const [before, after] of [[a, a2], [b, b2]]) {
    assert.ok(Math.abs(after.x - before.x - dx) < 1e-12 && Math.abs(after.y - before.y - dy) < 1e-12,
      `(${before.x}, ${before.y}) went to (${after.x}, ${after.y})`);
  }
  assert.deepStrictEqual(c2, c);
  // A press on a constructed point drags nothing: the orthocentre H is point 6.
  const h = figure.point(6);
  assert.strictEqual(figure.press(h.x, h.y, true), 0);
  assert.strictEqual(figure.dragging, false);
  figure.dispose();
});
