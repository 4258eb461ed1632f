// The page side of the web viewer: the Canvas port on an HTML canvas (2D context) and the
// start-up that finds each figure written into the page, reads it with the core and paints it
// at the view it was saved with. Everything comes from this one file: nothing is fetched.
(function (factory) {
  'use strict';
  const scriptStart = typeof performance !== 'undefined' ? performance.now() : 0;

  // Names of fixed-pitch fonts as figures and settings name them.
  const kFixedPitch = ['fixedsys', 'terminal', 'ｍｓ ゴシック', 'ms gothic', 'courier',
    'courier new', 'ｍｓ 明朝', 'ms mincho', 'lucida console', 'consolas'];
  const kMonoFamilies = '"Noto Sans Mono CJK JP", "MS Gothic", "Osaka-Mono", monospace';
  const kSansFamilies = '"Noto Sans CJK JP", "Hiragino Sans", "Yu Gothic", "Meiryo", sans-serif';

  function cssColour(rgb) {
    return '#' + (rgb >>> 0).toString(16).padStart(6, '0');
  }

  // Clips the segment to the rectangle (Liang-Barsky); null when nothing is left. Straight
  // lines reach far beyond the canvas, and the dash pattern should not run over millions of
  // pixels.
  function clipSegment(ax, ay, bx, by, lo, hiX, hiY) {
    let t0 = 0;
    let t1 = 1;
    const dx = bx - ax;
    const dy = by - ay;
    const p = [-dx, dx, -dy, dy];
    const q = [ax - lo, hiX - ax, ay - lo, hiY - ay];
    for (let i = 0; i < 4; ++i) {
      if (p[i] === 0) {
        if (q[i] < 0) return null;
        continue;
      }
      const t = q[i] / p[i];
      if (p[i] < 0) t0 = Math.max(t0, t);
      else t1 = Math.min(t1, t);
      if (t0 > t1) return null;
    }
    return [ax + t0 * dx, ay + t0 * dy, ax + t1 * dx, ay + t1 * dy];
  }

  // Device coordinates name pixel centres; the canvas's pixel i spans [i, i + 1].
  class CanvasPort {
    constructor(canvas) {
      this.canvas = canvas;
      this.ctx = canvas.getContext('2d');
      this.width = canvas.width;
      this.height = canvas.height;
      this.fontKey = '';
      this.ascent = 0;
    }

    // Strokes with the same pen gather in one path, stroked when the pen changes or something
    // else is drawn: a figure of thousands of objects then costs a few strokes, not thousands.
    pen(rgb, width, dotted) {
      const key = rgb * 64 + width * 2 + (dotted ? 1 : 0);
      if (key === this.penKey) return;
      this.flush();
      this.penKey = key;
      const ctx = this.ctx;
      ctx.strokeStyle = cssColour(rgb);
      ctx.lineWidth = width < 1 ? 1 : width;
      ctx.lineCap = width <= 1 ? 'butt' : 'round';
      ctx.lineJoin = 'round';
      ctx.setLineDash(dotted ? [1, 2] : []);
      ctx.beginPath();
    }

    flush() {
      if (this.penKey === undefined) return;
      this.ctx.stroke();
      this.penKey = undefined;
    }

    clear(rgb) {
      this.flush();
      this.fillRgb = undefined;
      this.ctx.fillStyle = cssColour(rgb);
      this.ctx.fillRect(0, 0, this.width, this.height);
    }

    line(ax, ay, bx, by, rgb, width, dotted) {
      const margin = 4 + width;
      const s = clipSegment(ax, ay, bx, by, -margin, this.width + margin, this.height + margin);
      if (!s) return;
      this.pen(rgb, width, dotted);
      this.ctx.moveTo(s[0] + 0.5, s[1] + 0.5);
      this.ctx.lineTo(s[2] + 0.5, s[3] + 0.5);
    }

    polyline(xy, rgb, width, dotted) {
      if (xy.length < 4) return;
      this.pen(rgb, width, dotted);
      const ctx = this.ctx;
      ctx.moveTo(xy[0] + 0.5, xy[1] + 0.5);
      for (let i = 2; i < xy.length; i += 2) ctx.lineTo(xy[i] + 0.5, xy[i + 1] + 0.5);
    }

    circle(x, y, r, rgb, width, dotted) {
      if (!(r >= 0) || !isFinite(r)) return;
      const vx = this.width / 2;
      const vy = this.height / 2;
      const diag = Math.hypot(this.width, this.height) / 2 + 4 + width;
      const dist = Math.hypot(x - vx, y - vy);
      // Circles that miss the canvas, or enclose it without crossing it, leave nothing.
      if (dist > r + diag || r > dist + diag) return;
      this.pen(rgb, width, dotted);
      const ctx = this.ctx;
      if (r < 4 * (this.width + this.height)) {
        ctx.moveTo(x + 0.5 + r, y + 0.5);
        ctx.arc(x + 0.5, y + 0.5, r, 0, 2 * Math.PI);
        return;
      }
      // A huge circle: only the arc near the canvas, fine enough to look round.
      const phi0 = Math.atan2(vy - y, vx - x);
      let c = (r * r + dist * dist - diag * diag) / (2 * r * Math.max(dist, 1e-9));
      c = Math.min(1, Math.max(-1, c));
      const span = Math.acos(c);
      const step = 2 * Math.sqrt(2 * 0.2 / r);
      const n = Math.min(20000, Math.max(2, Math.ceil(2 * span / step)));
      for (let i = 0; i <= n; ++i) {
        const phi = phi0 - span + 2 * span * i / n;
        const px = x + r * Math.cos(phi) + 0.5;
        const py = y + r * Math.sin(phi) + 0.5;
        if (i === 0) ctx.moveTo(px, py);
        else ctx.lineTo(px, py);
      }
    }

    dot(x, y, rgb, width) {
      this.flush();
      const ctx = this.ctx;
      this.fillRgb = undefined;
      ctx.fillStyle = cssColour(rgb);
      if (width <= 1) {
        ctx.fillRect(Math.floor(x + 0.5), Math.floor(y + 0.5), 1, 1);
        return;
      }
      ctx.beginPath();
      ctx.arc(x + 0.5, y + 0.5, width / 2, 0, 2 * Math.PI);
      ctx.fill();
    }

    fillRect(ax, ay, bx, by, rgb) {
      this.flush();
      const x0 = Math.min(ax, bx);
      const y0 = Math.min(ay, by);
      // Both corner pixels are covered.
      this.fillRgb = undefined;
      this.ctx.fillStyle = cssColour(rgb);
      this.ctx.fillRect(x0, y0, Math.abs(bx - ax) + 1, Math.abs(by - ay) + 1);
    }

    // Point sizes at 96 dots per inch, in the page's own fonts.
    useFont(size, fontName) {
      if (size === this.fontSize && fontName === this.fontName) return;
      this.fontSize = size;
      this.fontName = fontName;
      const fixed = kFixedPitch.includes(fontName.trim().toLowerCase());
      const px = Math.max(1, Math.round(size * 96 / 72));
      const key = px + (fixed ? 'm' : 's');
      if (key !== this.fontKey) {
        this.fontKey = key;
        this.ctx.font = px + 'px ' + (fixed ? kMonoFamilies : kSansFamilies);
        const m = this.ctx.measureText('Mg');
        this.ascent = m.fontBoundingBoxAscent !== undefined ? m.fontBoundingBoxAscent : px * 0.8;
      }
    }

    // Labels come by the thousand: the font, colour and baseline are set only when they
    // change, since the context parses each assignment anew.
    text(x, y, text, rgb, size, fontName) {
      if (!text) return;
      this.flush();
      this.useFont(size, fontName);
      const ctx = this.ctx;
      if (this.fillRgb !== rgb) {
        this.fillRgb = rgb;
        ctx.fillStyle = cssColour(rgb);
      }
      if (!this.baselineSet) {
        this.baselineSet = true;
        ctx.textBaseline = 'alphabetic';
      }
      ctx.fillText(text, x, y + this.ascent);
    }

    textWidth(text, size, fontName) {
      this.useFont(size, fontName);
      return this.ctx.measureText(text).width;
    }
  }

  // A port that draws nothing, for figures read without a page (Node, tests).
  const kNullPort = {
    flush() {}, clear() {}, line() {}, polyline() {}, circle() {}, dot() {}, fillRect() {},
    text() {},
    textWidth(text, size) { return text.length * size * 2 / 3; },
  };

  // One figure of the page (or of a test): the core's viewer behind a small object.
  class Figure {
    constructor(module, bytes) {
      this.module = module;
      this.handle = module._kv_create();
      const ptr = module._malloc(bytes.length || 1);
      module.HEAPU8.set(bytes, ptr);
      this.ok = module._kv_load(this.handle, ptr, bytes.length) === 0;
      module._free(ptr);
      this.error = this.ok ? '' : module.UTF8ToString(module._kv_text(this.handle));
    }
    get complex() { return this.module._kv_has_complex(this.handle) !== 0; }
    get objectCount() { return this.module._kv_object_count(this.handle); }
    coordinates() { return this.module.UTF8ToString(this.module._kv_coordinates(this.handle)); }
    fileText() { return this.module.UTF8ToString(this.module._kv_file_text(this.handle)); }
    setView(o) {
      this.module._kv_set_view(this.handle, o.width, o.height, o.scale, o.axes ? 1 : 0,
                               o.axisKind | 0, o.axisColor >>> 0);
      this.module._kv_set_drawing(this.handle, o.background >>> 0, o.strength | 0,
                                  o.penWidth | 0, o.fontSize, o.labelsHidden ? 1 : 0,
                                  o.decimals | 0);
    }
    // Layer 0 is the whole picture; during a drag 1 is what stays put, 2 what moves.
    paint(port, layer = 0) {
      const target = port || kNullPort;
      this.module.kvPort = target;
      const bad = this.module._kv_paint(this.handle, layer);
      target.flush();
      return bad;
    }
    // Pointer positions in canvas pixels, or in world units when `world` is set (tests that
    // replay a desktop drag). hover and press say what a press drags: 0 nothing, 1 a point,
    // 2 a line.
    hover(x, y, world = false) { return this.module._kv_hover(this.handle, x, y, world ? 0 : 1); }
    press(x, y, world = false) { return this.module._kv_press(this.handle, x, y, world ? 0 : 1); }
    move(x, y, world = false) {
      return this.module._kv_move(this.handle, x, y, world ? 0 : 1) !== 0;
    }
    release() { this.module._kv_release(this.handle); }
    get dragging() { return this.module._kv_dragging(this.handle) !== 0; }
    // Point `index` in world units (x, y) and canvas pixels (px, py), with the class of what
    // it is bound to (0 none, 1 point, 2 line, 3 circle); null when there is none.
    point(index) {
      const m = this.module;
      const at = m._malloc(40);
      try {
        if (!m._kv_point(this.handle, index, at)) return null;
        const v = m.HEAPF64.subarray(at >> 3, (at >> 3) + 5);
        return { x: v[0], y: v[1], px: v[2], py: v[3], bound: v[4] };
      } finally {
        m._free(at);
      }
    }
    dispose() { this.module._kv_destroy(this.handle); }
  }

  // Dragging on a page's canvas with the mouse, a pen or a finger. The objects that do not
  // move are painted once into an image when the drag starts; each move then recomputes what
  // depends on the dragged object and paints only that over the image, at most once a frame.
  class CanvasDrag {
    constructor(canvas, figure, port) {
      this.canvas = canvas;
      this.figure = figure;
      this.port = port;
      this.fixed = null;  // the image of what stays put, and its port
      this.fixedPort = null;
      this.pointerId = null;
      this.pending = null;  // the latest pointer position not yet shown
      this.frame = 0;
      this.hoverAt = null;
      // Per shown move: the time of the recompute and the paint, for anyone measuring.
      this.stats = { moves: 0, totalMs: 0, maxMs: 0 };
      canvas.style.touchAction = 'none';
      canvas.addEventListener('pointerdown', (e) => this.down(e));
      canvas.addEventListener('pointermove', (e) => this.moveEvent(e));
      canvas.addEventListener('pointerup', (e) => this.up(e));
      canvas.addEventListener('pointercancel', (e) => this.up(e));
      canvas.addEventListener('lostpointercapture', (e) => this.up(e));
    }

    // Canvas pixels under the pointer, whole pixels as the desktop's mouse reports them,
    // whatever size the page gives the canvas.
    pixel(e) {
      const c = this.canvas;
      const rect = c.getBoundingClientRect();
      const w = c.clientWidth || c.width;
      const h = c.clientHeight || c.height;
      return [Math.floor((e.clientX - rect.left - c.clientLeft) * c.width / w),
        Math.floor((e.clientY - rect.top - c.clientTop) * c.height / h)];
    }

    down(e) {
      if (this.pointerId !== null || !e.isPrimary || e.button !== 0) return;
      const [x, y] = this.pixel(e);
      if (this.figure.press(x, y) === 0) return;
      e.preventDefault();
      this.pointerId = e.pointerId;
      if (this.canvas.setPointerCapture) {
        try { this.canvas.setPointerCapture(e.pointerId); } catch (err) { /* synthetic event */ }
      }
      if (!this.fixed) {
        this.fixed = document.createElement('canvas');
        this.fixedPort = null;
      }
      if (this.fixed.width !== this.canvas.width || this.fixed.height !== this.canvas.height ||
          !this.fixedPort) {
        this.fixed.width = this.canvas.width;
        this.fixed.height = this.canvas.height;
        this.fixedPort = new CanvasPort(this.fixed);
      }
      this.figure.paint(this.fixedPort, 1);
      this.canvas.style.cursor = 'move';
      this.show();
    }

    moveEvent(e) {
      if (this.pointerId === null) {
        // Over a draggable object the pointer says so, as on the desktop.
        if (e.pointerType === 'mouse') this.schedule(null, this.pixel(e));
        return;
      }
      if (e.pointerId !== this.pointerId) return;
      e.preventDefault();
      this.schedule(this.pixel(e), null);
    }

    up(e) {
      if (this.pointerId === null || e.pointerId !== this.pointerId) return;
      this.pointerId = null;
      if (this.frame) cancelAnimationFrame(this.frame);
      this.frame = 0;
      // The last position reached counts, even when its frame had not come yet.
      if (this.pending) this.step();
      this.figure.release();
      this.canvas.style.cursor = '';
      this.figure.paint(this.port, 0);
    }

    schedule(dragAt, hoverAt) {
      if (dragAt) this.pending = dragAt;
      if (hoverAt) this.hoverAt = hoverAt;
      if (!this.frame) this.frame = requestAnimationFrame(() => this.onFrame());
    }

    onFrame() {
      this.frame = 0;
      if (this.pending && this.pointerId !== null) this.step();
      if (this.hoverAt && this.pointerId === null) {
        const [x, y] = this.hoverAt;
        this.canvas.style.cursor = this.figure.hover(x, y) ? 'move' : '';
      }
      this.hoverAt = null;
    }

    step() {
      const [x, y] = this.pending;
      this.pending = null;
      const t0 = performance.now();
      if (this.figure.move(x, y)) this.show();
      const ms = performance.now() - t0;
      const s = this.stats;
      ++s.moves;
      s.totalMs += ms;
      s.maxMs = Math.max(s.maxMs, ms);
    }

    // The image of what stays put, and over it what moves.
    show() {
      this.port.flush();
      this.port.ctx.drawImage(this.fixed, 0, 0);
      this.figure.paint(this.port, 2);
    }
  }

  function decodeBase64(text) {
    // Browsers that decode base64 into bytes themselves do it ten times faster; both pass over
    // the line breaks.
    if (typeof Uint8Array.fromBase64 === 'function') return Uint8Array.fromBase64(text);
    const binary = atob(text);
    const bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }

  function viewOptions(data) {
    const number = (v, d) => (v === undefined || v === '' || isNaN(+v) ? d : +v);
    return {
      width: number(data.width, 640), height: number(data.height, 480),
      scale: number(data.scale, 0.05), axes: data.axes === '1',
      axisKind: number(data.axisKind, 0), axisColor: number(data.axisColor, 0xAAAAAA),
      background: number(data.background, 0xFFFFFF), strength: number(data.strength, 255),
      penWidth: number(data.penWidth, 1), fontSize: number(data.fontSize, 9),
      labelsHidden: data.labelsHidden === '1', decimals: number(data.decimals, 2),
    };
  }

  // What each figure's start cost, for anyone measuring the page.
  const phases = [];

  function showFigure(module, element, index) {
    let canvas = index === 0 ? document.getElementById('kvcanvas') : null;
    if (!canvas) {
      canvas = document.createElement('canvas');
      canvas.className = 'kv-view';
      element.parentNode.insertBefore(canvas, element);
    }
    const options = viewOptions(element.dataset);
    canvas.width = options.width;
    canvas.height = options.height;
    const t0 = performance.now();
    const bytes = decodeBase64(element.textContent);
    const t1 = performance.now();
    const figure = new Figure(module, bytes);
    const t2 = performance.now();
    if (!figure.ok) {
      const p = document.createElement('p');
      p.className = 'kv-error';
      p.textContent = (element.dataset.name || '') + ': ' + figure.error;
      canvas.parentNode.insertBefore(p, canvas.nextSibling);
    }
    figure.setView(options);
    const port = new CanvasPort(canvas);
    figure.paint(port);
    const t3 = performance.now();
    phases.push(`figure ${index + 1}: decoded ${(t1 - t0).toFixed(1)} ms, read and recomputed ` +
                `${(t2 - t1).toFixed(1)} ms, painted ${(t3 - t2).toFixed(1)} ms`);
    canvas.kvFigure = figure;
    canvas.kvRepaint = () => figure.paint(port);
    if (figure.ok) canvas.kvDrag = new CanvasDrag(canvas, figure, port);
    return figure;
  }

  // A line under the first canvas, for what the reader should know.
  function note(text) {
    const p = document.createElement('p');
    p.className = 'kv-error';
    p.textContent = text;
    const canvas = document.getElementById('kvcanvas');
    if (canvas) canvas.parentNode.insertBefore(p, canvas.nextSibling);
    else document.body.appendChild(p);
  }

  // The core's code compiles while the browser is still reading the figures that follow this
  // script in the page.
  let compiling = null;

  function start() {
    // The page tells readers whose folder lacks this script; here it is.
    const missing = document.getElementById('kv-viewer-missing');
    if (missing) missing.style.display = 'none';
    const elements = document.querySelectorAll('script[type="application/x-kv4"]');
    if (elements.length === 0) return;
    const started = performance.now();
    (compiling || factory()).then((module) => {
      const compiled = performance.now();
      elements.forEach((element, i) => showFigure(module, element, i));
      const ready = performance.now();
      // When each phase ended, for anyone measuring the page.
      document.documentElement.setAttribute('data-kv-phases',
        `script ${scriptStart.toFixed(1)} ms, started ${started.toFixed(1)} ms, ` +
        `compiled ${compiled.toFixed(1)} ms, shown ${ready.toFixed(1)} ms; ` + phases.join('; '));
      document.documentElement.setAttribute('data-kv-ready', String(ready));
    }, (error) => {
      document.documentElement.setAttribute('data-kv-error', String(error));
      note('The viewer could not start: ' + error);
    });
  }

  if (typeof module === 'object' && module.exports) {
    module.exports = { createKvView: factory, Figure, CanvasPort, CanvasDrag, decodeBase64 };
  }
  if (typeof document !== 'undefined') {
    if (document.readyState === 'loading') {
      compiling = factory();
      // A failure is reported when the figures are shown.
      compiling.catch(() => {});
      document.addEventListener('DOMContentLoaded', start);
    } else {
      start();
    }
  }
})(createKvView);
