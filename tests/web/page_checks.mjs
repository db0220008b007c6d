// The page's own parts in Debian's chromium: the picture's evenness on the
// screen, the hint on an upright phone, the state lines kept for a screen
// reader, a refused settings file, a second tab, a hidden tab and a page
// restored from the back/forward cache.
// usage: node page_checks.mjs <site folder>
import fs from 'node:fs';
import path from 'node:path';
import {consoleErrors, launch, openGame, serve, settled, started, temporaryFolder, waits} from './browser.mjs';

const [site] = process.argv.slice(2);
if (!site) {
  console.error('usage: node page_checks.mjs <site folder>');
  process.exit(2);
}
const server = await serve(site);
const failures = [];
let passed = 0;

// WOLBY_CHECKS_ONLY=<pattern> runs the checks whose names match it.
const only = process.env.WOLBY_CHECKS_ONLY ? new RegExp(process.env.WOLBY_CHECKS_ONLY) : null;
async function check(name, body) {
  if (only && !only.test(name)) return;
  const began = Date.now();
  const browser = await launch();
  try {
    await body(browser);
    ++passed;
    console.log(`ok   ${name} (${((Date.now() - began) / 1000).toFixed(1)} s)`);
  } catch (error) {
    failures.push(name);
    console.log(`FAIL ${name}: ${error.message}`);
  } finally {
    await browser.close();
  }
}

async function input(page, act) {
  const since = await waits(page);
  await act();
  await settled(page, since);
}

// Settings: colours 1 and 2, a 5 x 5 board, no clock, and the people playing.
const settingsFor = (people) => Buffer.from(`90E1400001020500${people.toString(16).padStart(2, '0')}000000`, 'hex');

async function pick(page, bytes) {
  const file = path.join(temporaryFolder('wolby-pick-'), 'setting.dat');
  fs.writeFileSync(file, bytes);
  if (await page.$eval('#tools', (e) => e.hidden)) await page.click('#tools-toggle');
  await (await page.$('#picked')).uploadFile(file);
}

async function pickAndRestart(page, bytes) {
  const since = await waits(page);
  await pick(page, bytes);
  await page.waitForFunction((s) => wolbyPage.status().waits > s && wolbyPage.status().firstPicture !== null &&
                                    wolbyPage.status().waiting, {timeout: 15000, polling: 5}, since);
}

// In the page: from now on, every state of #spoken with its time.
function recordSpoken(page) {
  return page.evaluate(() => {
    window.spokenStates = [];
    const read = () => {
      const state = {time: performance.now()};
      for (const part of ['mover', 'clock', 'score1', 'score2', 'result']) {
        state[part] = document.getElementById(`spoken-${part}`).textContent;
      }
      window.spokenStates.push(state);
    };
    new MutationObserver(read).observe(document.getElementById('spoken'),
                                       {subtree: true, childList: true, characterData: true});
    read();
  });
}
const spokenStates = (page) => page.evaluate(() => window.spokenStates);
const score = (text) => Number((/Zebranych: (\d+)/.exec(text) || [])[1]);

// ------------------------------------------------------------ the picture on the screen
// The screen's device pixels, as a screenshot shows them, against the 800 x
// 600 picture: along rows that lie inside one picture row, each boundary of
// two picture colours takes at most one blended device pixel (no blur), and
// each picture pixel between two others of clearly other colours covers the scale's
// share of device pixels, within 0.35 (no runs of one or two at random).
// Runs in the page, on the screenshot (PNG, base64) of #screen.
async function judgeEvenness(base64) {
  const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
  const image = await createImageBitmap(new Blob([bytes], {type: 'image/png'}));
  const pen = new OffscreenCanvas(image.width, image.height).getContext('2d');
  pen.drawImage(image, 0, 0);
  const screen = pen.getImageData(0, 0, image.width, image.height);
  const source = document.getElementById('picture').getContext('2d').getImageData(0, 0, 800, 600).data;
  const sx = screen.width / 800;
  const sy = screen.height / 600;
  const at = (width, x, y) => (y * width + x) * 4;
  const same = (a, i, b, j) => a[i] === b[j] && a[i + 1] === b[j + 1] && a[i + 2] === b[j + 2];
  const contrast = (a, i, j) => Math.max(...[0, 1, 2].map((k) => Math.abs(a[i + k] - a[j + k])));
  let boundaries = 0;
  let isolated = 0;
  const faults = [];
  for (let yd = 0; yd < screen.height; ++yd) {
    const u = (yd + 0.5) / sy;
    if (u % 1 < 0.25 || u % 1 > 0.75) continue;
    const y = Math.floor(u);
    const weight = new Float64Array(800);
    const blended = new Int32Array(801);
    for (let d = 0; d < screen.width; ++d) {
      const v = (d + 0.5) / sx;
      const b = Math.min(Math.max(Math.round(v), 1), 799);
      const p = at(screen.width, d, yd);
      const a = at(800, b - 1, y);
      const c = at(800, b, y);
      if (same(screen.data, p, source, a) && (v < b || !same(screen.data, p, source, c))) {
        weight[b - 1] += 1;
      } else if (same(screen.data, p, source, c)) {
        weight[b] += 1;
      } else {
        let channel = 0;
        for (let k = 1; k < 3; ++k) {
          if (Math.abs(source[c + k] - source[a + k]) > Math.abs(source[c + channel] - source[a + channel])) channel = k;
        }
        const span = source[c + channel] - source[a + channel];
        const t = span === 0 ? 0.5 : Math.min(Math.max((screen.data[p + channel] - source[a + channel]) / span, 0), 1);
        weight[b - 1] += 1 - t;
        weight[b] += t;
        blended[b] += 1;
      }
    }
    for (let x = 1; x < 799; ++x) {
      const here = at(800, x, y);
      if (!same(source, here, source, here - 4)) {
        ++boundaries;
        if (blended[x] > 1) faults.push(`${blended[x]} blended device pixels at (${x}, ${y})`);
      }
      if (same(source, here, source, here - 4) || same(source, here, source, here + 4)) continue;
      // Its share is read from the blended pixels' colours: only against
      // neighbours of clear contrast is that share exact enough.
      if (contrast(source, here, here - 4) < 48 || contrast(source, here, here + 4) < 48) continue;
      ++isolated;
      if (Math.abs(weight[x] - sx) > 0.35) faults.push(`(${x}, ${y}) covers ${weight[x].toFixed(2)} device pixels`);
      if (Number.isInteger(sx) && Number.isInteger(sy) && blended[x] + blended[x + 1] > 0) {
        faults.push(`(${x}, ${y}) blended at the whole scale ${sx}`);
      }
    }
  }
  return {sx, sy, boundaries, isolated, faults: faults.length, some: faults.slice(0, 3)};
}

async function evenness(page) {
  const box = await page.$eval('#screen', (e) => e.getBoundingClientRect().toJSON());
  const shot = await page.screenshot({encoding: 'base64', clip: box, captureBeyondViewport: false});
  const seen = await page.evaluate(`(${judgeEvenness.toString()})(${JSON.stringify(shot)})`);
  if (seen.isolated < 100) throw new Error(`only ${seen.isolated} lone picture pixels to judge`);
  if (seen.faults > 0) {
    throw new Error(`at ${seen.sx.toFixed(4)} x ${seen.sy.toFixed(4)}: ${seen.faults} faults (${seen.boundaries} ` +
                    `boundaries, ${seen.isolated} lone pixels), e.g. ${seen.some.join('; ')}`);
  }
}

const kScales = [
  {name: 'a desktop at 1.25', viewport: {width: 1000, height: 750, deviceScaleFactor: 1}},
  {name: 'an upright phone at 1.46', viewport: {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true,
                                               hasTouch: true}},
  {name: 'the whole scale 2', viewport: {width: 800, height: 600, deviceScaleFactor: 2}},
];
await check(`the picture's pixels stay even on the screen (${kScales.map((s) => s.name).join(', ')})`,
            async (browser) => {
  const page = await openGame(browser, server.url, kScales[0].viewport);
  for (const scale of kScales) {
    await page.setViewport(scale.viewport);
    // Once the screen canvas has the new device pixels, and a frame has shown them.
    await page.waitForFunction((ratio) => {
      const shown = document.getElementById('screen');
      return devicePixelRatio === ratio && shown.width === Math.round(shown.getBoundingClientRect().width * ratio);
    }, {timeout: 5000, polling: 20}, scale.viewport.deviceScaleFactor);
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    await evenness(page);
  }
});

// ------------------------------------------------------------ an upright phone, a zoomable page
await check('an upright phone shows the hint to turn it beside the picture, gone once turned; the page may zoom ' +
            'but not the picture', async (browser) => {
  const phone = {width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3};
  const page = await openGame(browser, server.url, phone);
  const seen = await page.evaluate(() => {
    const hint = document.getElementById('turn-hint');
    const shown = document.getElementById('screen');
    return {hidden: hint.hidden, text: hint.textContent, hint: hint.getBoundingClientRect().toJSON(),
            picture: shown.getBoundingClientRect().toJSON(), name: shown.getAttribute('aria-label'),
            touch: getComputedStyle(shown).touchAction,
            viewport: document.querySelector('meta[name=viewport]').content};
  });
  if (seen.hidden || !/Obr\u00f3\u0107 telefon/.test(seen.text)) throw new Error(`no hint: ${JSON.stringify(seen)}`);
  if (seen.hint.top < seen.picture.bottom || seen.hint.bottom > phone.height) {
    throw new Error(`the hint ${JSON.stringify(seen.hint)} is not below the picture ${JSON.stringify(seen.picture)}`);
  }
  if (/user-scalable|maximum-scale/.test(seen.viewport) || seen.touch !== 'none' || !seen.name) {
    throw new Error(`viewport "${seen.viewport}", the picture's touch-action ${seen.touch}, name "${seen.name}"`);
  }
  await page.setViewport({...phone, width: 844, height: 390});
  await page.waitForFunction(() => document.getElementById('turn-hint').hidden, {timeout: 5000});
});

// ------------------------------------------------------------ the state lines
// A person against the computer: after the person's move the region says it is
// player 2's, with player 1's discs more by the placed one and at least one
// turned; the match is then played to its end by the computer on both sides
// (below).
await check('the live region tells whose move and the scores after a move', async (browser) => {
  const page = await openGame(browser, server.url);
  await pickAndRestart(page, settingsFor(1));
  await recordSpoken(page);
  await input(page, () => page.mouse.click(300, 195));
  const first = (await spokenStates(page)).pop();
  if (first.mover !== 'Ruch gracza 1.' || !(score(first.score1) > 0) || !(score(first.score2) > 0)) {
    throw new Error(`at the start the region says ${JSON.stringify(first)}`);
  }
  for (let c = 0; c < 5; ++c) {
    for (let r = 0; r < 5; ++r) {
      await input(page, () => page.mouse.click(100 + 51 * c + 25 - 15, 100 + 51 * r + 25));
      const moved = (await spokenStates(page)).filter((s) => s.mover === 'Ruch gracza 2.').pop();
      if (!moved) continue;
      const s1 = score(moved.score1) - score(first.score1);
      const s2 = score(moved.score2) - score(first.score2);
      if (s1 < 2 || s2 > -1 || s1 + s2 !== 1) {
        throw new Error(`after the move the region says ${JSON.stringify(moved)}, before ${JSON.stringify(first)}`);
      }
      return;
    }
  }
  throw new Error('no square took, or the region never said it was player 2\'s move');
});

await check('a match of the computer against itself goes on while its tab is hidden, with no burst once shown, ' +
            'and the live region ends with its result', async (browser) => {
  const page = await openGame(browser, server.url);
  await pickAndRestart(page, settingsFor(0));
  await recordSpoken(page);
  await page.mouse.click(300, 195);
  await page.waitForFunction(() => window.spokenStates.filter((s) => s.score1).length >= 2, {timeout: 10000});
  const devtools = await page.createCDPSession();
  const {windowId} = await devtools.send('Browser.getWindowForTarget');
  await devtools.send('Browser.setWindowBounds', {windowId, bounds: {windowState: 'minimized'}});
  await page.waitForFunction(() => document.visibilityState === 'hidden', {timeout: 5000, polling: 50});
  // A move made while hidden.
  const hiddenAt = (await spokenStates(page)).length;
  await page.waitForFunction((n) => window.spokenStates.length > n || window.spokenStates.at(-1).result,
                             {timeout: 15000, polling: 50}, hiddenAt);
  await devtools.send('Browser.setWindowBounds', {windowId, bounds: {windowState: 'normal'}});
  await page.waitForFunction(() => document.visibilityState === 'visible', {timeout: 5000, polling: 50});
  const shownAt = await page.evaluate(() => performance.now());
  await page.waitForFunction(() => window.spokenStates.at(-1).result !== '', {timeout: 60000, polling: 50});
  const states = await spokenStates(page);
  // Each move changes the scores; once shown, the moves come the computer's half second apart.
  const moves = states.filter((s, i) => i > 0 && s.score1 && (s.score1 !== states[i - 1].score1 ||
                                                              s.score2 !== states[i - 1].score2));
  const after = moves.filter((s) => s.time > shownAt + 50);
  for (let i = 1; i < after.length; ++i) {
    if (after[i].time - after[i - 1].time < 400) {
      throw new Error(`two moves ${(after[i].time - after[i - 1].time).toFixed(0)} ms apart after the tab was shown`);
    }
  }
  const last = states.at(-1);
  const [s1, s2] = [score(last.score1), score(last.score2)];
  const expected = s1 === s2 ? /REMISEM/ : new RegExp(`WYGRANA GRACZA ${s1 > s2 || s2 === 0 ? 1 : 2}!`);
  if (!expected.test(last.result) || !/ESC - wyj\u015bcie do menu\.$/.test(last.result)) {
    throw new Error(`at ${s1} : ${s2} the region's result says "${last.result}"`);
  }
  if (after.length < 2) throw new Error(`only ${after.length} moves after the tab was shown`);
});

// ------------------------------------------------------------ a settings file with no settings
await check('a picked file too short for the settings (empty, 8 bytes, 9 of which CR LF is one) is refused and the ' +
            'kept file stays', async (browser) => {
  const page = await openGame(browser, server.url);
  const before = await page.evaluate(() => ({kept: Array.from(wolbyPage.keptSettings()),
                                             first: wolbyPage.status().firstPicture}));
  for (const bytes of [Buffer.alloc(0), settingsFor(2).subarray(0, 8),
                       Buffer.from('90E1400D0A0102050000', 'hex').subarray(0, 9)]) {
    await page.evaluate(() => { document.getElementById('tools-message').textContent = ''; });
    await pick(page, bytes);
    await page.waitForFunction(() => document.getElementById('tools-message').textContent !== '', {timeout: 5000});
    const message = await page.$eval('#tools-message', (e) => e.textContent);
    if (!/nie zawiera ustawie\u0144/.test(message)) throw new Error(`${bytes.length} bytes: "${message}"`);
  }
  const after = await page.evaluate(() => ({kept: Array.from(wolbyPage.keptSettings()),
                                            first: wolbyPage.status().firstPicture}));
  if (JSON.stringify(after) !== JSON.stringify(before)) {
    throw new Error(`the game started again or its file changed: ${JSON.stringify(before)} -> ${JSON.stringify(after)}`);
  }
  // The shortest file that holds every field is taken.
  await pickAndRestart(page, settingsFor(2).subarray(0, 9));
  const kept = await page.evaluate(() => wolbyPage.keptSettings().length);
  if (kept !== 9) throw new Error(`a 9-byte file was kept as ${kept} bytes`);
});

// ------------------------------------------------------------ a second tab
await check('a second tab takes the game; the first says so, takes no input, and takes the game back', async (browser) => {
  const first = await openGame(browser, server.url);
  const second = await openGame(browser, server.url);
  // The player comes back to the first tab.
  await first.bringToFront();
  await first.waitForFunction(() => !document.getElementById('elsewhere').hidden, {timeout: 5000, polling: 50});
  const text = await first.$eval('#elsewhere', (e) => e.textContent);
  if (!/Gra jest otwarta w innej karcie/.test(text)) throw new Error(`the first tab says "${text.trim()}"`);
  const firstWaits = await waits(first);
  await first.mouse.click(300, 195);
  await first.keyboard.press('Escape');
  // The second tab plays meanwhile: by then the first had time to take what came.
  await second.bringToFront();
  await recordSpoken(second);
  await input(second, () => second.mouse.click(300, 195));
  if ((await waits(first)) !== firstWaits) throw new Error('the first tab took the input under its message');
  await first.bringToFront();
  await first.click('#play-here');
  await second.waitForFunction(() => !document.getElementById('elsewhere').hidden, {timeout: 5000, polling: 50});
  await recordSpoken(first);
  await input(first, () => first.mouse.click(300, 195));
  const states = await spokenStates(first);
  if (states.at(-1).mover !== 'Ruch gracza 1.') throw new Error('the first tab did not start the match');
});

// ------------------------------------------------------------ the back/forward cache
await check('a page restored from the back/forward cache plays on', async (browser) => {
  const page = await openGame(browser, server.url);
  await page.goto('about:blank');
  await page.goBack();
  await page.waitForFunction(() => window.wolbyPage && wolbyPage.status().restored === 1, {timeout: 10000})
      .catch(async () => {
        const reasons = await page.evaluate(() => JSON.stringify(
            performance.getEntriesByType('navigation')[0].notRestoredReasons));
        throw new Error(`the page was loaded again, not restored: ${reasons}`);
      });
  await started(page);
  await recordSpoken(page);
  await input(page, () => page.mouse.click(300, 195));
  const state = (await spokenStates(page)).at(-1);
  if (state.mover !== 'Ruch gracza 1.') throw new Error(`after a click the region says ${JSON.stringify(state)}`);
});

await check('the console shows no error', async () => {
  if (consoleErrors.length > 0) throw new Error(consoleErrors.join(' | '));
});

server.stop();
console.log(`${passed} passed, ${failures.length} failed`);
process.exit(failures.length === 0 ? 0 : 1);
