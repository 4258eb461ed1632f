// A small driver for headless Chromium over its debugging pipe (the DevTools protocol as
// NUL-separated JSON on file descriptors 3 and 4): open a page, evaluate script in it, send
// mouse events. Used by the page tests; nothing is downloaded.
'use strict';
const { spawn, execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

function findChromium() {
  for (const name of [process.env.KV_CHROMIUM, 'chromium', 'chromium-browser', 'google-chrome']) {
    if (!name) continue;
    try {
      return execFileSync('sh', ['-c', `command -v "${name}"`], { encoding: 'utf8' }).trim();
    } catch (e) {
      // not installed under this name
    }
  }
  return '';
}

class Browser {
  static async launch(executable, width = 800, height = 600) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kvview-chromium-'));
    const child = spawn(executable, [
      '--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
      '--disable-extensions', '--hide-scrollbars', `--window-size=${width},${height}`,
      `--user-data-dir=${profile}`, '--remote-debugging-pipe', 'about:blank',
    ], { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
    const browser = new Browser(child, profile);
    const { targetInfos } = await browser.send('Target.getTargets');
    const page = targetInfos.find((t) => t.type === 'page');
    const { sessionId } = await browser.send('Target.attachToTarget',
      { targetId: page.targetId, flatten: true });
    browser.sessionId = sessionId;
    await browser.send('Page.enable', {}, sessionId);
    await browser.send('Runtime.enable', {}, sessionId);
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();
    this.events = [];
    // A browser that ends or stops answering fails the calls waiting for it, so that a test
    // reports it instead of hanging.
    child.on('exit', (code) => {
      for (const { reject } of this.pending.values()) reject(new Error(`Chromium ended (${code})`));
      this.pending.clear();
    });
    let buffer = '';
    child.stdio[4].on('data', (chunk) => {
      buffer += chunk.toString('utf8');
      let end;
      while ((end = buffer.indexOf('\0')) >= 0) {
        const message = JSON.parse(buffer.slice(0, end));
        buffer = buffer.slice(end + 1);
        if (message.id && this.pending.has(message.id)) {
          const { resolve, reject } = this.pending.get(message.id);
          this.pending.delete(message.id);
          if (message.error) reject(new Error(message.error.message));
          else resolve(message.result);
        } else if (message.method) {
          this.events.push(message);
        }
      }
    });
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        this.pending.delete(id);
        reject(new Error(`Chromium did not answer ${method}`));
      }, 30000);
      this.pending.set(id, {
        resolve: (v) => { clearTimeout(timer); resolve(v); },
        reject: (e) => { clearTimeout(timer); reject(e); },
      });
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  page(method, params = {}) { return this.send(method, params, this.sessionId); }

  async evaluate(expression) {
    const r = await this.page('Runtime.evaluate',
      { expression, returnByValue: true, awaitPromise: true });
    if (r.exceptionDetails) throw new Error(r.exceptionDetails.text + ' ' + expression);
    return r.result.value;
  }

  // Opens a page and waits until `readyExpression` gives a value (bounded by timeoutMs).
  async open(url, readyExpression, timeoutMs = 20000) {
    await this.page('Page.navigate', { url });
    const start = Date.now();
    for (;;) {
      const value = await this.evaluate(readyExpression).catch(() => null);
      if (value !== null && value !== undefined) return value;
      if (Date.now() - start > timeoutMs) throw new Error('page not ready: ' + url);
      await new Promise((r) => setTimeout(r, 20));
    }
  }

  mouse(type, x, y, buttons = 1) {
    return this.page('Input.dispatchMouseEvent',
      { type, x, y, button: 'left', buttons, clickCount: 1 });
  }

  async close() {
    const exited = new Promise((resolve) => this.child.once('exit', resolve));
    this.child.kill();
    await exited;
    // The browser's helper processes may still be writing into the profile for a moment after
    // it ended; what is left then goes when the test process exits.
    const remove = () => fs.rmSync(this.profile,
      { recursive: true, force: true, maxRetries: 10, retryDelay: 50 });
    try {
      remove();
    } catch (e) {
      process.once('exit', () => { try { remove(); } catch (again) { /* left in tmp */ } });
    }
  }
}

module.exports = { Browser, findChromium };
