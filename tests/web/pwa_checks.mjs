// The browser game as an installed, offline app, in Debian's chromium, served
// compressed from a sub-path as a web host serves it: Chromium's own verdict
// on installing it and its manifest, the service worker in control on the
// second visit, a match with the network off and with the host gone, an update
// across two builds (never mixed), the loading line on a slow phone with no
// layout shift, what a host that does not compress sends, and file:// still
// refused.
// usage: node pwa_checks.mjs <site folder>
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {consoleErrors, kMatchSettings, launch, pickSettings, playMatch, started, temporaryFolder} from './browser.mjs';
import {serveSite} from '../../scripts/serve-site.mjs';

const [site] = process.argv.slice(2);
if (!site) {
  console.error('usage: node pwa_checks.mjs <site folder>');
  process.exit(2);
}
const kBase = '/games/wolby/';
const failures = [];

async function check(name, body) {
  const began = Date.now();
  try {
    await body();
    console.log(`ok   ${name} (${((Date.now() - began) / 1000).toFixed(1)} s)`);
  } catch (error) {
    failures.push(name);
    console.log(`FAIL ${name}: ${error.message}`);
  }
}

function expect(condition, message) {
  if (!condition) throw new Error(message);
}

// The game opened in a new tab (`prepare` runs before it loads), once it has started.
async function visit(browser, url, {prepare = async () => {}, viewport = {width: 800, height: 600}} = {}) {
  const page = await browser.newPage();
  page.on('console', (m) => { if (m.type() === 'error') consoleErrors.push(m.text()); });
  page.on('pageerror', (e) => consoleErrors.push(e.message));
  await page.setViewport(viewport);
  await prepare(page);
  await page.goto(url, {waitUntil: 'load'});
  await started(page, 60000);
  return page;
}

const controlled = (page) => page.evaluate(() => navigator.serviceWorker.controller !== null);
const kept = (page) => page.evaluate(() => Array.from(wolbyPage.keptSettings() || []).join(','));
// Until this build's worker is active (it keeps the build once installed).
const workerReady = (page) => page.evaluate(() => navigator.serviceWorker.ready.then(() => true));

// ------------------------------------------------------------ installing
await check('Chromium finds the game installable; the manifest and its icons', async () => {
  const server = await serveSite(site, {base: kBase});
  const browser = await launch();
  try {
    const page = await visit(browser, server.url);
    await workerReady(page);
    const cdp = await page.createCDPSession();
    const {installabilityErrors} = await cdp.send('Page.getInstallabilityErrors');
    expect(installabilityErrors.length === 0, `installability errors: ${JSON.stringify(installabilityErrors)}`);
    const {errors, data, url} = await cdp.send('Page.getAppManifest');
    expect(errors.length === 0 && data, `the manifest ${url}: ${JSON.stringify(errors)}`);
    const manifest = JSON.parse(data);
    const want = {name: 'Wolby', lang: 'pl', display: 'fullscreen', orientation: 'landscape',
                  background_color: '#000000', theme_color: '#000000'};
    for (const [key, value] of Object.entries(want)) {
      expect(manifest[key] === value, `manifest ${key} is ${JSON.stringify(manifest[key])}, not ${value}`);
    }
    expect(JSON.stringify(manifest.display_override) === '["fullscreen","standalone"]',
           `display_override ${JSON.stringify(manifest.display_override)}`);
    expect(/[ąćęłńóśźż]/.test(manifest.description || ''), `no Polish description: "${manifest.description}"`);
    // Relative, so the folder works under any path.
    for (const key of ['start_url', 'scope']) {
      expect(new URL(manifest[key], url).href === server.url, `${key} "${manifest[key]}" leaves ${server.url}`);
    }
    // Every icon as the browser decodes it, at its stated size; and Safari's touch icon.
    const touch = await page.$eval('link[rel="apple-touch-icon"]', (l) => l.href);
    const icons = [...manifest.icons.map((i) => ({...i, src: new URL(i.src, url).href})),
                   {src: touch, sizes: '180x180', purpose: 'touch'}];
    const seen = await page.evaluate((list) => Promise.all(list.map(async (icon) => {
      const bitmap = await createImageBitmap(await (await fetch(icon.src)).blob());
      return `${bitmap.width}x${bitmap.height}`;
    })), icons);
    icons.forEach((icon, i) => expect(seen[i] === icon.sizes, `${icon.src} is ${seen[i]}, not ${icon.sizes}`));
    for (const [size, purpose] of [['192x192', 'any'], ['512x512', 'any'], ['512x512', 'maskable']]) {
      expect(icons.some((i) => i.sizes === size && (i.purpose || 'any').split(' ').includes(purpose)),
             `no ${purpose} icon of ${size}`);
    }
    const shifts = await page.evaluate(() => performance.getEntriesByType('layout-shift').length);
    expect(shifts === 0, `${shifts} layout shifts as the game started`);
  } finally {
    await browser.close();
    await server.stop();
  }
});

// ------------------------------------------------------------ offline
await check('the second visit is the worker\'s; a match plays with the network off and with the host gone', async () => {
  let server = await serveSite(site, {base: kBase});
  const profile = temporaryFolder('wolby-profile-');
  let browser = await launch(profile);
  try {
    let page = await visit(browser, server.url);
    expect(!(await controlled(page)), 'the first visit is in a worker\'s hands already');
    await pickSettings(page, kMatchSettings);
    const settings = await kept(page);
    await workerReady(page);
    await page.close();

    page = await visit(browser, server.url);
    expect(await controlled(page), 'no service worker in control on the second visit');
    await page.close();

    // The page is offline; the worker's own look for a new sw.js is the browser's.
    const asked = server.counter.names.length;
    page = await visit(browser, server.url, {prepare: (p) => p.setOfflineMode(true)});
    await playMatch(page);
    const reached = server.counter.names.slice(asked).filter((name) => name !== 'sw.js');
    expect(reached.length === 0, `the offline page fetched ${reached} from the host`);
    expect(await kept(page) === settings, 'the kept settings changed offline');
    await page.close();

    await server.stop();
    // The browser again too: nothing of the last session's memory helps.
    await browser.close();
    browser = await launch(profile);
    page = await visit(browser, server.url);
    expect(await kept(page) === settings, 'the kept settings changed with the host gone');
    await playMatch(page);
    server = null;
  } finally {
    await browser.close();
    if (server) await server.stop();
  }
});

// ------------------------------------------------------------ updates
// Two builds that differ in the page and both scripts, each marked with its
// letter; every visit must show one letter in all three.
function build(letter) {
  const folder = path.join(temporaryFolder(`wolby-build-${letter}-`), 'site');
  fs.cpSync(site, folder, {recursive: true});
  const mark = (name, from, to) => {
    const file = path.join(folder, name);
    const text = fs.readFileSync(file, 'utf8');
    expect(text.includes(from), `${name} has no "${from}" to mark`);
    fs.writeFileSync(file, text.replace(from, to));
  };
  mark('index.html', '<title>Wolby</title>', `<title>Wolby</title><meta name="wolby-build" content="${letter}">`);
  fs.appendFileSync(path.join(folder, 'wolby-page.js'), `\nwolbyPage.build = '${letter}';\n`);
  fs.appendFileSync(path.join(folder, 'wolby.js'), `\nvar wolbyScriptBuild = '${letter}';\n`);
  execFileSync(path.join(import.meta.dirname, '../../scripts/web-worker.sh'), [folder]);
  const name = fs.readFileSync(path.join(folder, 'sw.js'), 'utf8').match(/const kBuild = '([0-9a-f]+)'/)[1];
  return {folder, letter, cache: `wolby-${name}`};
}

async function builds(page) {
  const marks = await page.evaluate(() => [document.querySelector('meta[name="wolby-build"]').content,
                                           wolbyPage.build, window.wolbyScriptBuild]);
  expect(new Set(marks).size === 1, `one visit mixed two builds: page, its script, the game's: ${marks}`);
  return marks[0];
}

await check('a new build reaches a returning player on the second visit after it, never mixed', async () => {
  const [a, b] = [build('A'), build('B')];
  expect(a.cache !== b.cache, 'two builds of different files got one name');
  let server = await serveSite(a.folder, {base: kBase});
  const port = server.port;
  const browser = await launch();
  try {
    let page = await visit(browser, server.url);
    await workerReady(page);
    await page.close();
    page = await visit(browser, server.url);
    expect(await controlled(page) && (await builds(page)) === 'A', 'the second visit is not build A\'s worker\'s');
    await page.close();

    await server.stop();
    server = await serveSite(b.folder, {base: kBase, port});
    const seen = [];
    for (let visits = 0; visits < 2 && seen[seen.length - 1] !== 'B'; ++visits) {
      page = await visit(browser, server.url, {prepare: (p) => p.evaluateOnNewDocument(() => {
        navigator.serviceWorker.addEventListener('controllerchange', () => { window.workerChanged = true; });
      })});
      seen.push(await builds(page));
      // The visit has found the new build: installed, it waits for the old pages to go.
      await page.waitForFunction((cache) => caches.keys().then((names) => names.includes(cache)),
                                 {timeout: 30000, polling: 100}, b.cache);
      await page.waitForFunction(() => navigator.serviceWorker.getRegistration()
          .then((r) => r && r.installing === null), {timeout: 30000, polling: 100});
      // A page of the old build keeps its worker and the old cache: the new
      // build waits (for three seconds here) instead of taking either over.
      const tookOver = await page.waitForFunction((cache) => window.workerChanged ||
          caches.keys().then((names) => !names.includes(cache)), {timeout: 3000, polling: 100}, a.cache)
          .then(() => true, () => false);
      expect(seen.at(-1) === 'B' || !tookOver, 'the new build took over a page of the old one');
      await page.close();
    }
    expect(seen[seen.length - 1] === 'B', `two visits after the new build showed ${seen}`);
    page = await visit(browser, server.url);
    expect((await builds(page)) === 'B', 'the build went back to A');
    await page.waitForFunction((cache) => caches.keys().then((n) => n.length === 1 && n[0] === cache),
                               {timeout: 10000, polling: 100}, b.cache);
    console.log(`     the visits after the new build: ${seen.join(', ')}; only its cache is left`);
  } finally {
    await browser.close();
    await server.stop();
  }
});

// ------------------------------------------------------------ loading on a slow phone
await check('a slow phone: the loading line from the first paint, the bytes as they come, no layout shift',
            async () => {
  const server = await serveSite(site, {base: kBase});
  const browser = await launch();
  try {
    const page = await browser.newPage();
    page.on('console', (m) => { if (m.type() === 'error') consoleErrors.push(m.text()); });
    await page.setViewport({width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3});
    const cdp = await page.createCDPSession();
    await cdp.send('Network.emulateNetworkConditions',
                   {offline: false, latency: 400, downloadThroughput: 400 * 1000 / 8, uploadThroughput: 400 * 1000 / 8});
    // What the first paint showed, and every layout shift.
    await page.evaluateOnNewDocument(() => {
      window.loadingSeen = {firstPaint: null, shift: 0, texts: []};
      new PerformanceObserver((list) => {
        for (const entry of list.getEntries()) window.loadingSeen.shift += entry.value;
      }).observe({type: 'layout-shift', buffered: true});
      new PerformanceObserver(() => {
        const line = document.getElementById('loading');
        if (window.loadingSeen.firstPaint === null) {
          window.loadingSeen.firstPaint = line && !line.hidden ? line.textContent : '(none)';
        }
      }).observe({type: 'paint', buffered: true});
      const look = () => {
        const line = document.getElementById('loading');
        if (line && !line.hidden && window.loadingSeen.texts.at(-1) !== line.textContent) {
          window.loadingSeen.texts.push(line.textContent);
        }
        if (!line || !line.hidden) requestAnimationFrame(look);
      };
      requestAnimationFrame(look);
    });
    await page.goto(server.url, {waitUntil: 'domcontentloaded'});
    await page.waitForFunction(() => /\d+ KB/.test(document.getElementById('loading').textContent),
                               {timeout: 30000, polling: 50});
    // A tap while it loads: the game starts as it would have.
    await page.touchscreen.tap(195, 420);
    await started(page, 90000);
    const seen = await page.evaluate(() => window.loadingSeen);
    expect(/^Wczytywanie…/.test(seen.firstPaint || ''), `the first paint showed "${seen.firstPaint}"`);
    const counts = seen.texts.map((t) => Number((t.match(/(\d+) KB/) || [])[1])).filter((n) => n > 0);
    expect(counts.length >= 3 && counts.every((n, i) => i === 0 || n > counts[i - 1]),
           `the bytes seen while loading: ${seen.texts.join(' | ')}`);
    expect(await page.$eval('#loading', (l) => l.hidden), 'the loading line stays over the game');
    expect(seen.shift === 0, `layout shifts of ${seen.shift.toFixed(4)}`);
    console.log(`     the line went ${counts[0]} KB … ${counts.at(-1)} KB in ${counts.length} steps`);
  } finally {
    await browser.close();
    await server.stop();
  }
});

// ------------------------------------------------------------ the transfer
await check('a host that does not compress sends at most 700 KB, the worker\'s own fetches included', async () => {
  const server = await serveSite(site, {compress: false});
  const browser = await launch();
  try {
    const page = await visit(browser, server.url);
    await workerReady(page);
    await page.waitForNetworkIdle({idleTime: 500, timeout: 30000});
    const sent = server.counter.bytes / 1024;
    expect(sent <= 700, `${sent.toFixed(0)} KB sent`);
    console.log(`     ${sent.toFixed(0)} KB in ${server.counter.requests} requests`);
  } finally {
    await browser.close();
    await server.stop();
  }
});

// ------------------------------------------------------------ file://
await check('opened from file:// the page says the game cannot start', async () => {
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.goto(`file://${path.resolve(site)}/index.html`);
    await page.waitForSelector('#ended:not([hidden])', {timeout: 15000});
    const text = await page.$eval('#ended-text', (e) => e.textContent);
    expect(/Nie uda\u0142o si\u0119 uruchomi\u0107 gry/.test(text), `the page says "${text}"`);
    expect(await page.$eval('#loading', (l) => l.hidden), 'the loading line stays on the refusal');
  } finally {
    await browser.close();
  }
});

await check('the console shows no error', async () => {
  expect(consoleErrors.length === 0, consoleErrors.slice(0, 5).join(' | '));
});

console.log(failures.length ? `FAIL ${failures.length} installed-app checks: ${failures.join('; ')}`
                            : 'ok   every installed-app check');
process.exit(failures.length ? 1 : 0);
