// The canvas layer of the web viewer, on a recording stand-in for the 2D context: what reaches
// the context for lines far outside the canvas, huge circles, pens and the drawing order.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');

const sourceDir = process.env.KV_SOURCE_DIR || path.join(__dirname, '..', '..');
const viewer = require(process.env.KV_VIEWER || path.join(sourceDir, 'build', 'kvview.js'));

// A 2D context that records calls and the state set on it.
function recordingCanvas(width = 640, height = 480) {
  const calls = [];
  const ctx = new Proxy({}, {
    get(target, name) {
      if (name in target) return target[name];
      if (name === 'measureText') {
        return (text) => ({ width: text.length * 6, fontBoundingBoxAscent: 10 });
      }
      return (...args) => calls.push([name, ...args]);
    },
    set(target, name, value) {
      calls.push(['set ' + String(name), value]);
      target[name] = value;
      return true;
    },
  });
  return { canvas: { width, height, getContext: () => ctx }, calls };
}

const points = (calls) => calls.filter(([n]) => n === 'moveTo' || n === 'lineTo');

test('a line reaching far outside is cut at the canvas edge', () => {
  const { canvas, calls } = recordingCanvas();
  const port = new viewer.CanvasPort(canvas);
  port.line(-1e9, 100, 1e9, 100, 0xff0000, 1, 0);
  port.line(-1e9, -1e9, -1e9 + 1, -1e9, 0, 1, 0);  // entirely outside: nothing
  port.flush();
  const drawn = points(calls);
  assert.strictEqual(drawn.length, 2);
  for (const [, x, y] of drawn) {
    assert.ok(x >= -5 && x <= 646, `x ${x}`);
    assert.strictEqual(y, 100.5);  // pixel centre
  }
});

test('circles: ordinary, around the whole canvas, and huge through it', () => {
  const { canvas, calls } = recordingCanvas();
  const port = new viewer.CanvasPort(canvas);
  port.circle(320, 240, 50, 0, 1, 0);
  assert.deepStrictEqual(calls.find(([n]) => n === 'arc'),
    ['arc', 320.5, 240.5, 50, 0, 2 * Math.PI]);
  calls.length = 0;
  port.circle(320, 240, 5000, 0, 1, 0);  // encloses the canvas: nothing visible
  port.flush();
  assert.strictEqual(calls.filter(([n]) => n === 'arc' || n === 'lineTo').length, 0);
  // A circle of radius 1e6 whose edge passes through the canvas centre: an arc near the
  // canvas only, every vertex on the circle.
  port.circle(320, 240 + 1e6, 1e6, 0, 1, 0);
  port.flush();
  const drawn = points(calls);
  assert.ok(drawn.length > 2);
  for (const [, x, y] of drawn) {
    assert.ok(Math.abs(x - 320.5) < 1000 && Math.abs(y - 240.5) < 1000, `${x}, ${y}`);
    const r = Math.hypot(x - 320.5, y - 240.5 - 1e6);
    assert.ok(Math.abs(r - 1e6) < 1e-3);
  }
});

test('shapes of one pen share a stroke, and order between pens and texts is kept', () => {
  const { canvas, calls } = recordingCanvas();
  const port = new viewer.CanvasPort(canvas);
  port.line(0, 0, 10, 10, 0xff0000, 1, 0);
  port.circle(50, 50, 5, 0xff0000, 1, 0);
  port.line(0, 10, 10, 0, 0x000000, 1, 1);
  port.text(5, 5, 'A', 0, 9, 'FixedSys');
  port.flush();
  const names = calls.map(([n, v]) => (n.startsWith('set ') ? `${n}=${v}` : n))
    .filter((n) => /stroke|setLineDash|fillText|strokeStyle/.test(n));
  assert.deepStrictEqual(names, [
    'set strokeStyle=#ff0000', 'setLineDash', 'stroke',
    'set strokeStyle=#000000', 'setLineDash', 'stroke', 'fillText']);
  assert.deepStrictEqual(calls.filter(([n]) => n === 'setLineDash').map(([, d]) => d),
    [[], [1, 2]]);
  // Fixed-pitch names get a fixed-pitch font at 96 dots per inch: 9 points are 12 pixels.
  assert.match(calls.filter(([n]) => n === 'set font').pop()[1], /^12px .*monospace$/);
});

test('a sample figure paints through the layer in a handful of strokes', async () => {
  const module = await viewer.createKvView();
  const figure = new viewer.Figure(module,
    fs.readFileSync(path.join(sourceDir, 'samples', 'nine_point_circle.kv4')));
  figure.setView({ width: 640, height: 480, scale: 0.05, fontSize: 9 });
  const { canvas, calls } = recordingCanvas();
  assert.strictEqual(figure.paint(new viewer.CanvasPort(canvas)), -1);
  const count = (name) => calls.filter(([n]) => n === name).length;
  assert.ok(count('fillText') >= 10, 'labels');
  assert.ok(count('arc') >= 4, 'circle and markers');
  assert.ok(count('stroke') < count('lineTo') + count('arc'));
  // Everything is drawn after the background is filled.
  assert.strictEqual(calls.findIndex(([n]) => n === 'fillRect'),
    calls.findIndex(([n]) => n.startsWith('fill')));
  figure.dispose();
});

test('labels set the font and colour only when they change, and never keep a stale colour',
  () => {
    const { canvas, calls } = recordingCanvas();
    const port = new viewer.CanvasPort(canvas);
    const fills = () => calls.filter(([n]) => n === 'set fillStyle').map(([, v]) => v);
    for (let i = 0; i < 100; ++i) port.text(i, i, 'P' + i, 0x0000ff, 9, 'MS Gothic');
    assert.strictEqual(calls.filter(([n]) => n === 'set font').length, 1);
    assert.deepStrictEqual(fills(), ['#0000ff']);
    // A dot in another colour between two blue labels: the second label is blue again.
    port.dot(1, 1, 0xff0000, 3);
    port.text(0, 0, 'Q', 0x0000ff, 9, 'MS Gothic');
    port.fillRect(0, 0, 2, 2, 0x00ff00);
    port.text(0, 0, 'R', 0x0000ff, 9, 'MS Gothic');
    port.clear(0xffffff);
    port.text(0, 0, 'S', 0x0000ff, 12, 'MS Gothic');
    assert.deepStrictEqual(fills(),
      ['#0000ff', '#ff0000', '#0000ff', '#00ff00', '#0000ff', '#ffffff', '#0000ff']);
    // Another size is another font.
    assert.match(calls.filter(([n]) => n === 'set font').pop()[1], /^16px /);
  });

test('a drag paints the moving layer over the image of the fixed one', async () => {
  const module = await viewer.createKvView();
  const figure = new viewer.Figure(module,
    fs.readFileSync(path.join(sourceDir, 'samples', 'euler_line.kv4')));
  figure.setView({ width: 640, height: 480, scale: 0.05, fontSize: 9 });
  const layer = (n) => {
    const { canvas, calls } = recordingCanvas();
    figure.paint(new viewer.CanvasPort(canvas), n);
    return calls;
  };
  const count = (calls, name) => calls.filter(([n]) => n === name).length;
  const all = layer(0);
  // Point C (the third) is dragged: A, B and the side AB stay put; everything else moves.
  const c = figure.point(3);
  assert.strictEqual(figure.press(c.px, c.py), 1);
  const fixed = layer(1);
  const moving = layer(2);
  // Only the fixed layer clears the canvas; the moving one goes over its image.
  assert.strictEqual(count(fixed, 'fillRect'), 1);
  assert.strictEqual(count(moving, 'fillRect'), 0);
  assert.ok(count(moving, 'fillText') > count(fixed, 'fillText'));
  // Every label is in exactly one layer.
  assert.strictEqual(count(fixed, 'fillText') + count(moving, 'fillText'),
    count(all, 'fillText'));
  figure.release();
  assert.strictEqual(figure.dragging, false);
  figure.dispose();
});

test('a figure written into the page in wrapped base64 comes back byte for byte', () => {
  const bytes = fs.readFileSync(path.join(sourceDir, 'samples', 'regular_polygon.kv4'));
  const wrapped = bytes.toString('base64').replace(/.{76}/g, '$&\r\n') + '\n';
  assert.deepStrictEqual(Buffer.from(viewer.decodeBase64(wrapped)), bytes);
});
