// The browser game checked in Debian's chromium as a person plays it: the
// scenes' pictures against the Linux build's, a match against the computer,
// Wyjście and the page's new start, a phone's taps, and a console with no error.
// usage: node checks.mjs <site folder> <scenes.txt> <reference folder> <output folder>
import {consoleErrors, launch, openGame, pickSettings, readScenes, serve, started} from './browser.mjs';
import {checker, input, pictures, playTimedMatch, playScene, playToEndPage} from './plays.mjs';

const [site, scenesFile, references, out] = process.argv.slice(2);
if (!out) {
  console.error('usage: node checks.mjs <site folder> <scenes.txt> <reference folder> <output folder>');
  process.exit(2);
}
const server = await serve(site);
const {check, finish} = checker();
const expectPicture = pictures(references, out);

// ------------------------------------------------------------ the scenes
// Each scene in a storage of its own: a private window of one browser, or a
// browser of its own where the scene starts the browser again.
const shared = await launch();
for (const scene of readScenes(scenesFile)) {
  await check(`scene ${scene.name}: the Linux build's pictures`,
              () => playScene({engine: 'chromium', url: server.url, expectPicture, shared}, scene));
}
await shared.close();

// ------------------------------------------------------------ a match against the computer
await check('a whole match against the computer, with half-second replies', () => playTimedMatch(launch, server.url));

// ------------------------------------------------------------ Wyjście
await check('Wyjście shows the end page, and a new game opens on the menu',
            () => playToEndPage(launch, server.url, expectPicture));

// ------------------------------------------------------------ the page's own keys
await check('keys the game ignores move nothing of the page', async () => {
  const browser = await launch();
  try {
    const page = await openGame(browser, server.url, {width: 800, height: 900});
    for (const key of ['Tab', 'Space', 'ArrowDown', 'PageDown', 'End', 'Tab', 'Enter']) {
      await input(page, () => page.keyboard.press(key));
    }
    const state = await page.evaluate(() => ({focus: document.activeElement.tagName, scrollY: window.scrollY,
                                              tools: document.getElementById('tools').hidden}));
    if (state.focus !== 'BODY' || state.scrollY !== 0 || !state.tools) {
      throw new Error(`the page moved: ${JSON.stringify(state)}`);
    }
    await expectPicture(page, 'keys', ['menu']);
  } finally {
    await browser.close();
  }
});

// ------------------------------------------------------------ the file handed over
await check('the page hands the kept setting.dat over', async () => {
  const browser = await launch();
  try {
    const page = await openGame(browser, server.url);
    // A saved change: the board's side one larger.
    await input(page, () => page.mouse.click(300, 245));
    await input(page, () => page.mouse.click(505, 175));
    await input(page, () => page.mouse.click(385, 470));
    await page.click('#tools-toggle');
    await page.click('#download');
    const handed = await page.evaluate(async () => {
      const link = document.getElementById('download');
      return {name: link.download, bytes: Array.from(new Uint8Array(await (await fetch(link.href)).arrayBuffer()))};
    });
    const kept = await page.evaluate(() => Array.from(wolbyPage.keptSettings()));
    if (handed.name !== 'setting.dat' || handed.bytes.length !== 12 || handed.bytes[6] !== 7 ||
        JSON.stringify(handed.bytes) !== JSON.stringify(kept)) {
      throw new Error(`handed over ${JSON.stringify(handed)}, kept ${JSON.stringify(kept)}`);
    }
  } finally {
    await browser.close();
  }
});

// ------------------------------------------------------------ a save the browser refuses
// The browser's storage turns the save's write down after it was made (one
// request fails), or aborts the whole write as a full storage does: either
// way the game says the file cannot be saved, and the kept file stays.
const kRefusals = {
  'one request fails': (page) => page.evaluate(() => {
    const put = IDBObjectStore.prototype.put;
    // An existing entry cannot be added: the request fails after it was made.
    IDBObjectStore.prototype.put = function(value, key) {
      return key === '/kept/setting.dat' ? this.add(value, key) : put.call(this, value, key);
    };
  }),
  'the storage is full': async (page) => {
    const devtools = await page.createCDPSession();
    await devtools.send('Storage.overrideQuotaForOrigin', {origin: new URL(server.url).origin, quotaSize: 1});
  },
};
for (const [way, refuse] of Object.entries(kRefusals)) {
  await check(`a save the browser's storage refuses (${way}) shows the game's message and keeps the old file`,
              async () => {
    const browser = await launch();
    try {
      const page = await openGame(browser, server.url);
      const before = await page.evaluate(() => Array.from(wolbyPage.keptSettings()));
      await refuse(page);
      await input(page, () => page.mouse.click(300, 245));
      await input(page, () => page.mouse.click(505, 175));
      await page.mouse.click(385, 470);
      await page.waitForSelector('#dialog:not([hidden])', {timeout: 5000});
      const text = await page.$eval('#dialog-text', (e) => e.textContent);
      if (text !== 'Nie mo\u017cna zapisa\u0107 pliku z ustawieniami') throw new Error(`the message says "${text}"`);
      await input(page, () => page.keyboard.press('Enter'));
      await page.reload({waitUntil: 'load'});
      await started(page);
      const after = await page.evaluate(() => Array.from(wolbyPage.keptSettings()));
      if (JSON.stringify(after) !== JSON.stringify(before)) {
        throw new Error(`the kept file changed: ${before} became ${after}`);
      }
    } finally {
      await browser.close();
    }
  });
}

// ------------------------------------------------------------ a large picked file
// The game reads a settings file's head only: a picked file of 4 MB is kept
// cut, and read as the game reads it (its first 12 bytes: 7 x 7).
await check('a large settings file picked by the player is kept cut and read by its head', async () => {
  const browser = await launch();
  try {
    const page = await openGame(browser, server.url);
    const large = Buffer.alloc(4 << 20, 0x41);
    Buffer.from('90E140000102070002000000', 'hex').copy(large);
    await pickSettings(page, large);
    const kept = await page.evaluate(() => wolbyPage.keptSettings().length);
    if (kept > 1024) throw new Error(`${kept} bytes kept`);
    await input(page, () => page.mouse.click(300, 195));
    // A 7 x 7 board's last column: squares up to 100 + 7 * 51.
    const edge = await page.evaluate(() => Array.from(document.getElementById('picture').getContext('2d')
        .getImageData(100 + 6 * 51 + 25, 100 + 25, 1, 1).data).slice(0, 3).join());
    const beyond = await page.evaluate(() => Array.from(document.getElementById('picture').getContext('2d')
        .getImageData(100 + 7 * 51 + 25, 100 + 25, 1, 1).data).slice(0, 3).join());
    if (edge === beyond) throw new Error(`no 7 x 7 board: the 7th and 8th columns both show ${edge}`);
  } finally {
    await browser.close();
  }
});

// ------------------------------------------------------------ a phone
await check('a tap on a phone plays the tapped square; the page neither scrolls nor zooms', async () => {
  const browser = await launch();
  try {
    const phone = {width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3};
    const page = await openGame(browser, server.url, phone);
    const box = await page.$eval('#picture', (c) => c.getBoundingClientRect().toJSON());
    if (box.width !== 390) throw new Error(`in portrait the picture is ${box.width} px wide, not the screen's 390`);
    const at = (x, y) => ({x: box.x + x * box.width / 800, y: box.y + y * box.height / 600});
    // For a touch the tapped point is the prong's point: no 15-pixel correction.
    const start = at(315 + 0.5, 195 + 0.5);
    await input(page, () => page.touchscreen.tap(start.x, start.y));
    const square = at(100 + 51 * 4 + 25, 100 + 51 * 2 + 25);
    await input(page, () => page.touchscreen.tap(square.x, square.y));
    await expectPicture(page, 'phone', ['board-one-move']);
    // A finger dragged across the page moves nothing.
    await page.touchscreen.touchStart(200, 700);
    await page.touchscreen.touchMove(200, 100);
    await page.touchscreen.touchEnd();
    const view = await page.evaluate(() => ({scrollY: window.scrollY, scale: window.visualViewport.scale}));
    if (view.scrollY !== 0 || view.scale !== 1) throw new Error(`the page moved: ${JSON.stringify(view)}`);
    await page.setViewport({...phone, width: 844, height: 390});
    await page.waitForFunction(() => document.getElementById('picture').getBoundingClientRect().height === 390,
                               {timeout: 5000}).catch(() => {
      throw new Error('in landscape the picture does not fill the screen\'s height');
    });
  } finally {
    await browser.close();
  }
});

await check('the console shows no error', async () => {
  if (consoleErrors.length > 0) throw new Error(consoleErrors.join(' | '));
});

server.stop();
process.exit(finish());
