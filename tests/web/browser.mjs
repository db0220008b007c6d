// What the browser checks and figures share: the site served on loopback,
// a browser engine (Debian's chromium or firefox-esr driven by puppeteer-core,
// WebKitGTK through its WebDriver), the game's page opened and waited on,
// pictures read from its canvas, and the scenes file.
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import {launchWebKit} from './webdriver.mjs';

export const kWidth = 800;
export const kHeight = 600;

const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves the folder on 127.0.0.1 (a free port); resolves with its address and a stop.
// A headScript is put first in every page's head (to catch errors where the
// engine reports none).
export function serve(folder, headScript = null) {
  folder = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(folder, name.endsWith('/') ? name + 'index.html' : name);
    if (!file.startsWith(folder + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream',
                             'Cache-Control': 'no-cache'});
    if (headScript && file.endsWith('.html')) {
      response.end(fs.readFileSync(file, 'utf8').replace(/<head>/i, `$&<script>${headScript}</script>`));
      return;
    }
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => {
    resolve({url: `http://127.0.0.1:${server.address().port}/`, stop: () => server.close()});
  }));
}

// A folder under /tmp that goes when the script ends (a profile, a picked file).
const madeFolders = [];
process.on('exit', () => madeFolders.forEach((f) => fs.rmSync(f, {recursive: true, force: true})));
export function temporaryFolder(prefix) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), prefix));
  madeFolders.push(folder);
  return folder;
}

// The engines the checks run in. Chromium and Firefox keep a profile across a
// restart (given the same folder); WebKit's automated browser keeps its
// storage in memory, so a restart starts it afresh.
export const engines = ['chromium', 'firefox', 'webkit'];
export function keepsProfile(engine) {
  return engine !== 'webkit';
}

// The engine's browser with a profile of its own: chromium unless told.
export async function launch(profile, engine = 'chromium') {
  if (engine === 'firefox') {
    return puppeteer.launch({browser: 'firefox', executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
                             headless: true, userDataDir: profile || temporaryFolder('wolby-profile-')});
  }
  if (engine === 'webkit') return launchWebKit();
  if (engine !== 'chromium') throw new Error(`no engine ${engine}`);
  const args = ['--headless=new', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
                '--disable-sync', '--no-first-run', '--no-default-browser-check', '--disable-quic',
                '--disable-features=Translate,MediaRouter,OptimizationHints', '--password-store=basic'];
  if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');
  return puppeteer.launch({executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true, args,
                           userDataDir: profile || temporaryFolder('wolby-profile-')});
}

// Every error the page's console shows or the page throws, for the record.
export const consoleErrors = [];

export async function openGame(browser, url, viewport = {width: kWidth, height: kHeight}) {
  const page = await browser.newPage();
  page.on('console', (m) => { if (m.type() === 'error') consoleErrors.push(m.text()); });
  page.on('pageerror', (e) => consoleErrors.push(e.message));
  await page.setViewport(viewport);
  await page.goto(url, {waitUntil: 'load'});
  await started(page);
  return page;
}

export async function waits(page) {
  return page.evaluate(() => wolbyPage.status().waits);
}

// Until the game has drawn its first picture and waits for input.
export async function started(page, timeout = 15000) {
  await page.waitForFunction(() => window.wolbyPage && wolbyPage.status().firstPicture !== null &&
                                   wolbyPage.status().waiting, {timeout, polling: 5});
}

// Until the game has taken what came since `since` waits and waits again.
export async function settled(page, since, timeout = 10000) {
  await page.waitForFunction((s) => wolbyPage.status().waiting && wolbyPage.status().waits > s,
                             {timeout, polling: 5}, since);
}

// In the page: the canvas's 800 x 600 pixels as RGB bytes.
function canvasRgb() {
  const rgba = document.getElementById('picture').getContext('2d').getImageData(0, 0, 800, 600).data;
  const rgb = new Uint8Array(800 * 600 * 3);
  for (let i = 0, j = 0; i < rgba.length; i += 4) {
    rgb[j++] = rgba[i];
    rgb[j++] = rgba[i + 1];
    rgb[j++] = rgba[i + 2];
  }
  return rgb;
}

// A digest of RGB bytes (two 32-bit FNV-1a lanes); the page computes the same
// over its canvas, so only a picture that differs has to leave the page.
export function digest(rgb) {
  let a = 0x811c9dc5;
  let b = 0x01000193;
  for (let i = 0; i < rgb.length; ++i) {
    a = Math.imul(a ^ rgb[i], 0x01000193) >>> 0;
    b = Math.imul(b ^ rgb[i] ^ (i & 0xff), 0x01000193) >>> 0;
  }
  return `${a.toString(16)}:${b.toString(16)}`;
}

export async function pictureDigest(page) {
  return page.evaluate(`(${digest.toString()})((${canvasRgb.toString()})())`);
}

// The canvas's pixels as RGB bytes, brought out of the page.
export async function picture(page) {
  const base64 = await page.evaluate(`(() => {
    const rgb = (${canvasRgb.toString()})();
    let text = '';
    for (let i = 0; i < rgb.length; i += 0x8000) text += String.fromCharCode.apply(null, rgb.subarray(i, i + 0x8000));
    return btoa(text);
  })()`);
  return Buffer.from(base64, 'base64');
}

export function differingPixels(a, b) {
  let count = 0;
  for (let i = 0; i < a.length; i += 3) {
    if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) ++count;
  }
  return count;
}

// A PPM file (any image viewer, or `convert`, shows it).
export function savePicture(file, rgb) {
  fs.mkdirSync(path.dirname(file), {recursive: true});
  fs.writeFileSync(file, Buffer.concat([Buffer.from(`P6\n${kWidth} ${kHeight}\n255\n`), rgb]));
}

// The browser's scenes of the scenes file, as tests/scenes/scenes.cpp reads
// them (the Windows scenes are the desktop builds').
export function readScenes(file) {
  const scenes = [];
  let windows = false;
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    const words = line.trim().split(/\s+/);
    if (!words[0] || words[0].startsWith('#')) continue;
    if (words[0] === 'scene') {
      windows = words[2] === 'windows';
      if (!windows) scenes.push({name: words[1], settings: null, steps: []});
      continue;
    }
    if (windows) continue;
    const scene = scenes[scenes.length - 1];
    const n = words.slice(1).map(Number);
    switch (words[0]) {
      case 'settings': scene.settings = Buffer.from(words[1], 'hex'); break;
      case 'square': scene.steps.push({kind: 'click', x: 100 + 51 * n[0] + 25 - 15, y: 100 + 51 * n[1] + 25}); break;
      case 'move': case 'click': scene.steps.push({kind: words[0], x: n[0], y: n[1]}); break;
      case 'key': scene.steps.push({kind: 'esc'}); break;
      case 'wait': scene.steps.push({kind: 'wait', ms: n[0]}); break;
      case 'shot': scene.steps.push({kind: 'shot', name: words[1]}); break;
      case 'series': scene.steps.push({kind: 'series', name: words[1], count: n[1]}); break;
      case 'reload': case 'restart-browser': scene.steps.push({kind: words[0]}); break;
      default: throw new Error(`${file}: cannot read "${line}"`);
    }
  }
  return scenes;
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The settings file as the player would pick it with the page's file picker;
// the game then starts again with it.
export async function pickSettings(page, bytes) {
  const file = path.join(temporaryFolder('wolby-pick-'), 'setting.dat');
  fs.writeFileSync(file, bytes);
  const since = await waits(page);
  await page.click('#tools-toggle');
  const input = await page.$('#picked');
  await input.uploadFile(file);
  await page.waitForFunction((s) => wolbyPage.status().waits > s && wolbyPage.status().firstPicture !== null &&
                                    wolbyPage.status().waiting, {timeout: 15000, polling: 5}, since);
}

// ------------------------------------------------------------ a match against the computer
// From the menu, one person (player 1) against the computer on 5 x 5: the
// person clicks squares until one takes (`afterMove` then runs), passes when
// none does, until the result shows. Resolves with the person's moves.
export const kMatchSettings = Buffer.from('90E140000102050001000000', 'hex');
const kSquare = (c, r) => ({x: 100 + 51 * c + 25 - 15, y: 100 + 51 * r + 25});

async function squarePixels(page, c, r) {
  return page.evaluate((x, y) => Array.from(document.getElementById('picture').getContext('2d')
      .getImageData(x, y, 50, 50).data).join(','), 100 + 51 * c, 100 + 51 * r);
}

async function matchOver(page) {
  // The result's last line, "ESC - wyjście do menu", is written on white at (300, 260).
  return page.evaluate(() => {
    const d = document.getElementById('picture').getContext('2d').getImageData(300, 260, 1, 1).data;
    return d[0] === 255 && d[1] === 255 && d[2] === 255;
  });
}

async function clicked(page, x, y) {
  const since = await waits(page);
  await page.mouse.click(x, y);
  await settled(page, since);
}

export async function playMatch(page, afterMove = async () => {}) {
  await clicked(page, 300, 195);
  let moves = 0;
  let fruitless = 0;
  while (!(await matchOver(page))) {
    let moved = false;
    for (let c = 0; c < 5 && !moved; ++c) {
      for (let r = 0; r < 5 && !moved; ++r) {
        const before = await squarePixels(page, c, r);
        await clicked(page, kSquare(c, r).x, kSquare(c, r).y);
        if ((await squarePixels(page, c, r)) === before) continue;
        moved = true;
        ++moves;
        await afterMove();
      }
    }
    if (moved) {
      fruitless = 0;
      continue;
    }
    // No square took: the person has to pass, and the computer moves on.
    if (++fruitless > 3) throw new Error(`no square takes a disc after ${moves} moves, and no result`);
    await sleep(1200);
  }
  if (moves < 5) throw new Error(`the match ended after only ${moves} moves of the person`);
  return moves;
}
