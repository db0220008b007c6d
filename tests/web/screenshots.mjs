// The README's pictures of the browser game, as a player's browser shows the
// whole page: the menu, the options, a match against the computer on 8 x 8,
// the end page after Wyjście, and a phone held upright during a match.
// usage: node screenshots.mjs <site folder> <output folder>
import fs from 'node:fs';
import path from 'node:path';
import {launch, openGame, pickSettings, serve, settled, waits} from './browser.mjs';

const [site, out] = process.argv.slice(2);
if (!out) {
  console.error('usage: node screenshots.mjs <site folder> <output folder>');
  process.exit(2);
}
fs.mkdirSync(out, {recursive: true});
const server = await serve(site);
const browser = await launch();
const kDesktop = {width: 1000, height: 640};
// Player 1 a person, player 2 the computer, 8 x 8, the clock off.
const kAgainstComputer = Buffer.from('90E140000102080001000000', 'hex');

async function input(page, act) {
  const since = await waits(page);
  await act();
  await settled(page, since);
}

// The person's first `moves` moves, each on the first square that takes a
// disc, each followed by the computer's reply (half a second later).
async function play(page, moves, click, size = 8) {
  const square = (c, r) => page.evaluate((x, y) => Array.from(document.getElementById('picture').getContext('2d')
      .getImageData(x, y, 50, 50).data).join(), 100 + 51 * c, 100 + 51 * r);
  for (let move = 0; move < moves; ++move) {
    let took = false;
    for (let i = 0; i < size * size && !took; ++i) {
      const [c, r] = [i % size, Math.floor(i / size)];
      const before = await square(c, r);
      await input(page, () => click(100 + 51 * c + 25 - 15, 100 + 51 * r + 25));
      took = (await square(c, r)) !== before;
    }
    if (!took) throw new Error(`no square takes a disc at the person's move ${move + 1}`);
    const since = await waits(page);
    await page.waitForFunction((s) => wolbyPage.status().waits > s, {timeout: 3000, polling: 5}, since);
  }
}

// Picture points to page points, through the canvas's box on the page.
async function pointer(page) {
  const [x, y, width] = await page.$eval('#picture', (e) => {
    const b = e.getBoundingClientRect();
    return [b.x, b.y, b.width];
  });
  return (px, py) => [x + px * width / 800, y + py * width / 800];
}

async function shot(page, name) {
  const file = path.join(out, `${name}.png`);
  await page.screenshot({path: file});
  console.log(`screenshots: ${file}`);
}

try {
  let page = await openGame(browser, server.url, kDesktop);
  let to = await pointer(page);
  const at = (x, y) => page.mouse.click(...to(x, y));
  await input(page, () => page.mouse.move(...to(300, 195)));
  await shot(page, 'menu');
  await input(page, () => at(300, 245));
  await shot(page, 'options');
  await page.close();

  page = await openGame(browser, server.url, kDesktop);
  await pickSettings(page, kAgainstComputer);
  to = await pointer(page);
  await input(page, () => at(300, 195));
  await play(page, 4, at);
  await shot(page, 'match');
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => wolbyPage.status().waiting, {polling: 5});
  await at(300, 345);
  await page.waitForSelector('#ended:not([hidden])', {timeout: 5000});
  await shot(page, 'ended');
  await page.close();

  const phone = await browser.newPage();
  await phone.setViewport({width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2});
  await phone.goto(server.url, {waitUntil: 'load'});
  await phone.waitForFunction(() => window.wolbyPage && wolbyPage.status().waiting, {polling: 5});
  await pickSettings(phone, kAgainstComputer);
  // A finger plays the point it taps, where the prong of a pointer at x is x + 15.
  const toPhone = await pointer(phone);
  const tap = (x, y) => phone.touchscreen.tap(...toPhone(x + 15, y));
  await input(phone, () => tap(300, 195));
  await play(phone, 3, tap);
  await shot(phone, 'phone');
} finally {
  await browser.close();
  server.stop();
}
