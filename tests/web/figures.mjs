// The browser game's figures, as a player feels them (medians; informative,
// never failing): what the page costs to fetch, the time from navigation to
// the menu drawn (a cold browser, and a reload), the growing disc's pauses,
// the browser's processor time while the game waits, and an input's way to
// the picture.
// usage: node figures.mjs <site folder> [runs]
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import {launch, openGame, serve, settled, sleep, waits} from './browser.mjs';

const [site, runsText] = process.argv.slice(2);
const runs = Number(runsText || 7);
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted.length ? sorted[Math.floor(sorted.length / 2)] : NaN;
};
const ms = (v) => `${v.toFixed(1)} ms`;
const server = await serve(site);

// ------------------------------------------------------------ the transfer
let raw = 0;
let gzipped = 0;
const parts = [];
for (const name of fs.readdirSync(site).sort()) {
  const bytes = fs.readFileSync(path.join(site, name));
  const packed = zlib.gzipSync(bytes, {level: 9}).length;
  raw += bytes.length;
  gzipped += packed;
  parts.push(`${name} ${(packed / 1024).toFixed(0)} KB`);
}
console.log(`transfer, gzip-compressed: ${(gzipped / 1024).toFixed(0)} KB of ${(raw / 1024).toFixed(0)} KB ` +
            `(${parts.join(', ')})`);

// ------------------------------------------------------------ navigation to the menu
const menuDrawn = (page) => page.evaluate(() => wolbyPage.status().firstPicture);
const cold = [];
for (let i = 0; i < runs; ++i) {
  const browser = await launch();
  const page = await openGame(browser, server.url);
  cold.push(await menuDrawn(page));
  await browser.close();
}
const reloads = [];
{
  const browser = await launch();
  const page = await openGame(browser, server.url);
  for (let i = 0; i < runs; ++i) {
    await page.reload({waitUntil: 'load'});
    await page.waitForFunction(() => window.wolbyPage && wolbyPage.status().firstPicture !== null, {polling: 5});
    reloads.push(await menuDrawn(page));
  }
  await browser.close();
}
console.log(`navigation to the menu drawn: cold browser ${ms(median(cold))}, reload ${ms(median(reloads))} ` +
            `(median of ${runs})`);

// ------------------------------------------------------------ pauses, input, idle processor time
// The processor time of the browser's processes (this one and its children),
// in all and in its renderers (where the page and the game run).
function browserTicks(pid) {
  let ticks = 0;
  let renderer = 0;
  const all = fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name));
  const parents = new Map();
  for (const name of all) {
    try {
      const stat = fs.readFileSync(`/proc/${name}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const kind = fs.readFileSync(`/proc/${name}/cmdline`, 'utf8').includes('--type=renderer') ? 'renderer' : '';
      parents.set(Number(name), {parent: Number(fields[1]), ticks: Number(fields[11]) + Number(fields[12]), kind});
    } catch {
      // gone meanwhile
    }
  }
  const inTree = (p) => {
    for (let at = p; at > 1; at = parents.get(at)?.parent ?? 0) if (at === pid) return true;
    return false;
  };
  for (const [p, info] of parents) {
    if (!inTree(p)) continue;
    ticks += info.ticks;
    if (info.kind === 'renderer') renderer += info.ticks;
  }
  return {ticks, renderer};
}
async function idleShare(browser, seconds) {
  // What the browser does by itself just after a start is not the game's.
  await sleep(5000);
  const pid = browser.process().pid;
  // The median of three windows: the browser's own housekeeping comes in bursts.
  const all = [];
  const renderer = [];
  for (let i = 0; i < 3; ++i) {
    const before = browserTicks(pid);
    await sleep(seconds * 1000);
    const after = browserTicks(pid);
    all.push(after.ticks - before.ticks);
    renderer.push(after.renderer - before.renderer);
  }
  const share = (ticks) => `${(ticks / 100 / seconds * 100).toFixed(2)} %`;  // USER_HZ is 100
  return `${share(median(all))} (the page's renderer ${share(median(renderer))})`;
}

const browser = await launch();
const page = await openGame(browser, server.url);
const idleMenu = await idleShare(browser, 10);
await page.evaluate(() => wolbyPage.startRecord());
// The marker follows the pointer over the four items, twice.
for (let i = 0; i < 8; ++i) {
  const since = await waits(page);
  await page.mouse.move(300, 195 + 50 * (i % 4));
  await settled(page, since);
}
const markers = await page.evaluate(() => wolbyPage.takeRecord());
// Two people on 6 x 6: moves that are legal in turn; each disc grows in pauses.
const moves = [[4, 2], [2, 1], [1, 2], [4, 3], [5, 4], [0, 2]];
let since = await waits(page);
await page.mouse.click(300, 195);
await settled(page, since);
const idleMatch = await idleShare(browser, 10);
await page.evaluate(() => wolbyPage.startRecord());
for (const [c, r] of moves) {
  since = await waits(page);
  await page.mouse.click(100 + 51 * c + 25 - 15, 100 + 51 * r + 25);
  await settled(page, since);
}
const discs = await page.evaluate(() => wolbyPage.takeRecord());
await browser.close();
server.stop();

// From each input to the first picture put after it.
const latency = (record, type) => record.inputs.filter((input) => input.type === type).map((input) => {
  const shown = record.pictures.find((p) => p.time >= input.time);
  return shown ? shown.time - input.time : NaN;
}).filter((v) => !Number.isNaN(v));
console.log(`the growing disc's pauses (10 ms asked): median ${ms(median(discs.pauses))} of ${discs.pauses.length}, ` +
            `from ${ms(Math.min(...discs.pauses))} to ${ms(Math.max(...discs.pauses))}`);
console.log(`pointer move to the marker drawn: median ${ms(median(latency(markers, 'mousemove')))}; ` +
            `click to the disc drawn: median ${ms(median(latency(discs, 'mousedown')))}`);
console.log(`the browser's processor time while the game waits (of one core, median of three 10 s): on the menu ${idleMenu}, ` +
            `in a match waiting for the person ${idleMatch}`);
