// The game played as a person plays it, in any engine browser.mjs launches:
// the scenes' pictures against the Linux build's, a whole match against the
// computer, Wyjście and the end page. checks.mjs (Chromium) and engines.mjs
// (the other engines) run these, each with checks of its own beside them.
import fs from 'node:fs';
import path from 'node:path';
import {differingPixels, digest, keepsProfile, kMatchSettings, launch, openGame, picture, pictureDigest, pickSettings,
        playMatch, savePicture, settled, sleep, started, temporaryFolder, waits} from './browser.mjs';

// Named checks, each timed; a failure is reported and the rest still run.
export function checker(prefix = '') {
  const failures = [];
  let passed = 0;
  return {
    async check(name, body) {
      const began = Date.now();
      try {
        await body();
        ++passed;
        console.log(`ok   ${prefix}${name} (${((Date.now() - began) / 1000).toFixed(1)} s)`);
      } catch (error) {
        failures.push(name);
        console.log(`FAIL ${prefix}${name}: ${error.message}`);
      }
    },
    finish() {
      console.log(`${prefix}${passed} passed, ${failures.length} failed`);
      return failures.length === 0 ? 0 : 1;
    },
  };
}

// The canvas against the Linux build's pictures in `references`; a mismatch
// leaves both pictures in `out`.
export function pictures(references, out) {
  const digests = new Map();
  const reference = (name) => fs.readFileSync(path.join(references, `${name}.rgb`));
  const referenceDigest = (name) => {
    if (!digests.has(name)) digests.set(name, digest(reference(name)));
    return digests.get(name);
  };
  // The canvas must be one of the named pictures, pixel for pixel.
  return async function expectPicture(page, label, names) {
    const seenDigest = await pictureDigest(page);
    if (names.some((name) => referenceDigest(name) === seenDigest)) return;
    const seen = await picture(page);
    let best = null;
    for (const name of names) {
      const differing = differingPixels(seen, reference(name));
      if (differing === 0) return;
      if (!best || differing < best.differing) best = {name, differing};
    }
    savePicture(path.join(out, `${label}-browser.ppm`), seen);
    savePicture(path.join(out, `${label}-linux.ppm`), reference(best.name));
    throw new Error(`${label}: ${best.differing} pixels differ from the Linux picture ${best.name} ` +
                    `(both in ${out})`);
  };
}

export async function input(page, act) {
  const since = await waits(page);
  await act();
  await settled(page, since);
}

// A scene in a storage of its own: a private window of the `shared` browser,
// or a browser of its own where the scene starts the browser again. An engine
// that keeps no profile ends such a scene before the restart (said in `notes`).
export async function playScene({engine, url, expectPicture, shared, notes = []}, scene) {
  let steps = scene.steps;
  const restart = steps.findIndex((step) => step.kind === 'restart-browser');
  if (restart >= 0 && !keepsProfile(engine)) {
    steps = steps.slice(0, restart);
    notes.push(`${engine} keeps no profile: the scene ends before it starts the browser again`);
  }
  const ownBrowser = steps.some((step) => step.kind === 'restart-browser');
  const profile = temporaryFolder('wolby-profile-');
  let browser = ownBrowser ? await launch(profile, engine) : await shared.createBrowserContext();
  try {
    let page = await openGame(browser, url);
    if (scene.settings) await pickSettings(page, scene.settings);
    let shots = 0;
    for (const step of steps) {
      switch (step.kind) {
        case 'move': await input(page, () => page.mouse.move(step.x, step.y)); break;
        case 'click': await input(page, () => page.mouse.click(step.x, step.y)); break;
        case 'esc': await input(page, () => page.keyboard.press('Escape')); break;
        case 'wait':
          await sleep(step.ms);
          await page.waitForFunction(() => wolbyPage.status().waiting, {polling: 5});
          break;
        case 'shot': await expectPicture(page, `${scene.name}-${++shots}`, [step.name]); break;
        case 'series':
          await expectPicture(page, `${scene.name}-${++shots}`,
                              Array.from({length: step.count}, (_, i) => `${step.name}-${i}`));
          break;
        case 'reload':
          await page.reload({waitUntil: 'load'});
          await started(page);
          break;
        case 'restart-browser':
          await browser.close();
          browser = await launch(profile, engine);
          page = await openGame(browser, url);
          break;
      }
    }
  } finally {
    await browser.close();
  }
}

// One person (player 1) against the computer on 5 x 5 (browser.mjs plays it);
// the computer answers half a second after the person's move has been drawn.
// `open` gives a browser (or a private window of one) with a storage of its own.
// `fastest` is the least median reply taken: WebKit's figures run up to a few
// tens of ms short (more on a busy machine), the wait they start from begun
// after the pause had; a computer that does not pause at all is still caught.
export async function playTimedMatch(open, url, {fastest = 480} = {}) {
  const browser = await open();
  try {
    const page = await openGame(browser, url);
    await pickSettings(page, kMatchSettings);
    const replies = [];
    const moves = await playMatch(page, async () => {
      // The person's move is drawn: the computer's half second runs from the
      // wait. A computer with no legal square passes, and nothing comes.
      const waitBegan = await page.evaluate(() => { wolbyPage.startRecord(); return wolbyPage.status().waitBegan; });
      const since = await waits(page);
      await page.waitForFunction((s) => wolbyPage.status().waits > s, {timeout: 1500, polling: 5}, since)
          .catch(() => {});
      const record = await page.evaluate(() => wolbyPage.takeRecord());
      const board = record.pictures.find((p) => p.x < 406 && p.y < 406 && p.x + p.width > 100);
      if (board) replies.push(board.time - waitBegan);
    });
    const sorted = [...replies].sort((a, b) => a - b);
    const median = sorted[Math.floor(sorted.length / 2)];
    if (!(median >= fastest && median <= 650)) {
      throw new Error(`the computer answered in a median ${median.toFixed(0)} ms (of ${replies.length}), not 500`);
    }
    console.log(`     ${moves} moves of the person; the computer answered in a median ${median.toFixed(0)} ms`);
  } finally {
    await browser.close();
  }
}

// Wyjście shows the end page; its button opens a new game on the menu. With
// pointerOff the pointer then leaves the menu's buttons before the picture:
// WebKit tells the new game where the pointer is (over Wyjście, where the
// end page's button was) whenever the end page goes, and the game marks it.
export async function playToEndPage(open, url, expectPicture, {pointerOff = false} = {}) {
  const browser = await open();
  try {
    const page = await openGame(browser, url);
    await page.mouse.click(300, 345);
    await page.waitForSelector('#ended:not([hidden])', {timeout: 5000});
    const text = await page.$eval('#ended', (e) => e.textContent);
    if (!/zako\u0144czona/.test(text)) throw new Error(`the end page says "${text.trim()}"`);
    const since = await waits(page);
    await page.click('#again');
    await page.waitForFunction((s) => wolbyPage.status().waits > s && wolbyPage.status().firstPicture !== null,
                               {timeout: 15000, polling: 5}, since);
    if (pointerOff) await input(page, () => page.mouse.move(600, 500));
    await expectPicture(page, 'again', [pointerOff ? 'menu-no-marker' : 'menu']);
  } finally {
    await browser.close();
  }
}
