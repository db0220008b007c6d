// The browser game in the engines beside Chromium (Firefox ESR over WebDriver
// BiDi, WebKitGTK over WebDriver), as a person plays it: the scenes' pictures
// against the Linux build's (ESC and an option kept over a reload among them),
// a match against the computer, Wyjście and the end page, no console error.
// usage: node engines.mjs <firefox|webkit> <site folder> <scenes.txt> <reference folder> <output folder>
import {consoleErrors, engines, launch, readScenes, serve} from './browser.mjs';
import {kErrorCatcher} from './webdriver.mjs';
import {checker, pictures, playTimedMatch, playScene, playToEndPage} from './plays.mjs';

const [engine, site, scenesFile, references, out] = process.argv.slice(2);
if (!out || !engines.includes(engine)) {
  console.error('usage: node engines.mjs <firefox|webkit> <site folder> <scenes.txt> <reference folder> <output folder>');
  process.exit(2);
}
const began = Date.now();
// WebDriver reports no console: WebKit's pages catch their own errors.
const server = await serve(site, engine === 'webkit' ? kErrorCatcher : null);
const {check, finish} = checker(`${engine}: `);
const expectPicture = pictures(references, out);

const shared = await launch(null, engine);
const notes = [];
for (const scene of readScenes(scenesFile)) {
  await check(`scene ${scene.name}: the Linux build's pictures`,
              () => playScene({engine, url: server.url, expectPicture, shared, notes}, scene));
}
for (const note of new Set(notes)) console.log(`     ${note}`);

// A private window of the same browser each: this engine's start is slow.
const privateWindow = () => shared.createBrowserContext();
await check('a whole match against the computer, with half-second replies', () => playTimedMatch(privateWindow, server.url, {fastest: engine === 'webkit' ? 300 : 480}));
await check('Wyjście shows the end page, and a new game opens on the menu',
            () => playToEndPage(privateWindow, server.url, expectPicture, {pointerOff: true}));
await shared.close();
await check('the console shows no error', async () => {
  if (consoleErrors.length > 0) throw new Error(consoleErrors.join(' | '));
});

server.stop();
console.log(`     ${engine}: ${((Date.now() - began) / 1000).toFixed(0)} s in all`);
process.exit(finish());
