// WebKit for the browser checks: Debian's WebKitWebDriver on a free port,
// starting WebKitGTK's MiniBrowser under an X server of its own, spoken to in
// W3C WebDriver with fetch. Its browser and page offer the few calls of
// puppeteer's Browser and Page that the checks make, so the same checks run
// over either.
import {spawn} from 'node:child_process';
import net from 'node:net';
import os from 'node:os';

const kMiniBrowser = process.env.MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const kWaitPoll = 50;

// WebDriver has no console log: the page's errors are caught by this script,
// which the test server puts first in the page's head (serve's headScript).
export const kErrorCatcher = `(function() {
  var seen = window.__wolbyErrors = [];
  var error = console.error;
  console.error = function() {
    seen.push(Array.prototype.map.call(arguments, String).join(' '));
    return error.apply(console, arguments);
  };
  window.addEventListener('error', function(e) { seen.push(e.message || String(e.error)); });
  window.addEventListener('unhandledrejection', function(e) { seen.push('unhandled: ' + e.reason); });
})();`;

const kKeys = {Escape: '\uE00C', Enter: '\uE007', Tab: '\uE004', Space: ' ', ArrowDown: '\uE015',
               PageDown: '\uE00F', End: '\uE010'};

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.on('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const {port} = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

async function until(what, condition, timeout) {
  const end = Date.now() + timeout;
  for (;;) {
    const value = await condition().catch(() => null);
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, kWaitPoll));
  }
}

// The driver and X server go with this process, however it ends (MiniBrowser
// goes with its X server).
const started = new Set();
process.on('exit', () => started.forEach((child) => child.kill()));
for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP']) process.on(signal, () => process.exit(128 + os.constants.signals[signal]));
function own(child) {
  started.add(child);
  child.on('exit', () => started.delete(child));
  return child;
}

// Xvfb, its display number read from -displayfd.
function startX() {
  const x = own(spawn('Xvfb', ['-displayfd', '3', '-noreset', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                      {stdio: ['ignore', 'ignore', 'pipe', 'pipe']}));
  let log = '';
  x.stderr.on('data', (chunk) => { log += chunk; });
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`Xvfb did not start: ${log}`)), 10000);
    x.on('exit', (code) => reject(new Error(`Xvfb ended (${code}): ${log}`)));
    let number = '';
    x.stdio[3].on('data', (chunk) => {
      number += chunk;
      if (!number.includes('\n')) return;
      clearTimeout(timer);
      resolve({process: x, display: `:${number.trim()}`});
    });
  });
}

async function call(base, method, path, body) {
  const response = await fetch(base + path, {method, headers: {'Content-Type': 'application/json'},
                                             body: body === undefined ? undefined : JSON.stringify(body)});
  const answer = await response.json();
  if (!response.ok) {
    const {error, message} = answer.value || {};
    throw new Error(`WebDriver ${method} ${path}: ${error}: ${message}`);
  }
  return answer.value;
}

// A page of one session, with the calls of puppeteer's Page that the checks use.
class Page {
  constructor(session) {
    this.session = session;
    this.listeners = {console: [], pageerror: []};
    this.mouse = {
      move: (x, y) => this.actions([{type: 'pointerMove', x: Math.round(x), y: Math.round(y), duration: 0}]),
      click: (x, y) => this.actions([{type: 'pointerMove', x: Math.round(x), y: Math.round(y), duration: 0},
                                      {type: 'pointerDown', button: 0}, {type: 'pointerUp', button: 0}]),
    };
    this.keyboard = {
      press: (key) => {
        const value = kKeys[key] || key;
        return this.session.call('POST', '/actions', {actions: [{type: 'key', id: 'keyboard', actions: [
          {type: 'keyDown', value}, {type: 'keyUp', value}]}]});
      },
    };
  }

  actions(steps) {
    return this.session.call('POST', '/actions', {actions: [
      {type: 'pointer', id: 'mouse', parameters: {pointerType: 'mouse'},
       actions: steps.map((s) => (s.type === 'pointerMove' ? {...s, origin: 'viewport'} : s))}]});
  }

  on(event, listener) {
    this.listeners[event].push(listener);
  }

  // Hands the errors the page caught to the listeners (before the page goes).
  async collectErrors() {
    const caught = await this.evaluate(() => {
      const seen = window.__wolbyErrors || [];
      return seen.splice(0, seen.length);
    }).catch(() => []);
    for (const text of caught) this.listeners.pageerror.forEach((listener) => listener(new Error(text)));
  }

  // A function (with its arguments) or an expression, run in the page;
  // a promise is waited for.
  async evaluate(code, ...args) {
    const body = typeof code === 'function' ? `(${code}).apply(null, args)` : `(${code})`;
    const answer = await this.session.call('POST', '/execute/async', {args, script: `
      const done = arguments[arguments.length - 1];
      const args = Array.prototype.slice.call(arguments, 0, -1);
      new Promise((resolve) => resolve(${body})).then((value) => done({value}),
                                                      (error) => done({error: String(error && error.message || error)}));`});
    if (answer && 'error' in answer) throw new Error(`in the page: ${answer.error}`);
    return answer ? answer.value : undefined;
  }

  // Polled in the page, as puppeteer's waitForFunction.
  async waitForFunction(condition, options = {}, ...args) {
    const timeout = options.timeout ?? 30000;
    const polling = typeof options.polling === 'number' ? options.polling : 10;
    const met = await this.evaluate(`new Promise((resolve) => {
      const condition = ${condition};
      const args = ${JSON.stringify(args)};
      const end = performance.now() + ${timeout};
      (function look() {
        let value = false;
        try { value = condition.apply(null, args); } catch (e) {}
        if (value) resolve(true);
        else if (performance.now() > end) resolve(false);
        else setTimeout(look, ${polling});
      })();
    })`);
    if (!met) throw new Error(`timed out after ${timeout} ms waiting for ${String(condition).slice(0, 80)}`);
  }

  waitForSelector(selector, options = {}) {
    return this.waitForFunction((s) => document.querySelector(s) !== null, options, selector);
  }

  $eval(selector, code) {
    return this.evaluate(`(${code})(document.querySelector(${JSON.stringify(selector)}))`);
  }

  async element(selector) {
    const found = await this.session.call('POST', '/element', {using: 'css selector', value: selector});
    return Object.values(found)[0];
  }

  async click(selector) {
    await this.session.call('POST', `/element/${await this.element(selector)}/click`, {});
  }

  async $(selector) {
    const id = await this.element(selector);
    return {uploadFile: (file) => this.session.call('POST', `/element/${id}/value`, {text: file})};
  }

  // The window sized so that the page's viewport is the one asked for.
  async setViewport({width, height}) {
    const inner = await this.evaluate(() => [window.innerWidth, window.innerHeight]);
    const outer = await this.session.call('GET', '/window/rect');
    await this.session.call('POST', '/window/rect', {width: outer.width + width - inner[0],
                                                     height: outer.height + height - inner[1]});
    await this.waitForFunction((w, h) => window.innerWidth === w && window.innerHeight === h,
                               {timeout: 5000}, width, height);
  }

  async goto(url) {
    await this.collectErrors();
    await this.session.call('POST', '/url', {url});
  }

  async reload() {
    await this.collectErrors();
    await this.session.call('POST', '/refresh', {});
  }

  async close() {
    await this.collectErrors();
  }
}

// One WebDriver session: one MiniBrowser, its storage its own (automation
// keeps it in memory), one page.
class Session {
  constructor(driver) {
    this.driver = driver;
    this.page = null;
  }

  async start() {
    const made = await call(this.driver.base, 'POST', '/session', {capabilities: {alwaysMatch: {
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': {binary: kMiniBrowser, args: ['--automation']},
      timeouts: {script: 120000, pageLoad: 60000, implicit: 0},
    }}});
    this.id = made.sessionId;
    return this;
  }

  call(method, path, body) {
    return call(this.driver.base, method, `/session/${this.id}${path}`, body);
  }

  async newPage() {
    if (this.page) throw new Error('a WebKit session has one page');
    this.page = new Page(this);
    return this.page;
  }

  async close() {
    if (this.page) await this.page.close();
    this.page = null;
    await this.call('DELETE', '').catch(() => {});
  }
}

// The driver and its X server; each browser context is a session of its own.
class Driver {
  async start() {
    this.x = await startX();
    const port = await freePort();
    this.base = `http://127.0.0.1:${port}`;
    this.log = '';
    this.process = own(spawn('WebKitWebDriver', [`--port=${port}`], {env: {...process.env, DISPLAY: this.x.display},
                                                                      stdio: ['ignore', 'pipe', 'pipe']}));
    for (const stream of [this.process.stdout, this.process.stderr]) {
      stream.on('data', (chunk) => { this.log = (this.log + chunk).slice(-4000); });
    }
    await until('WebKitWebDriver to answer', () => call(this.base, 'GET', '/status').then((s) => s.ready), 15000);
    this.sessions = new Set();
    return this;
  }

  async createBrowserContext() {
    const session = await new Session(this).start();
    this.sessions.add(session);
    const close = session.close.bind(session);
    session.close = () => { this.sessions.delete(session); return close(); };
    return session;
  }

  // As puppeteer's browser: a page of its own session.
  async newPage() {
    return (await this.createBrowserContext()).newPage();
  }

  async close() {
    for (const session of [...this.sessions]) await session.close();
    this.process.kill();
    this.x.process.kill();
  }
}

export function launchWebKit() {
  return new Driver().start();
}
