// The long tasks of the browser game's start (main thread, over 50 ms) on a
// processor slowed 4 times, as a phone runs it; a figure, never failing. The
// site is served compressed, as a web host serves it.
// usage: node start_tasks.mjs <site folder> [runs]
import {launch, started} from './browser.mjs';
import {serveSite} from '../../scripts/serve-site.mjs';

const [site, runsText] = process.argv.slice(2);
const server = await serveSite(site);
const browser = await launch();
const totals = [];
for (let run = 0; run < Number(runsText || 3); ++run) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', {rate: 4});
  await page.evaluateOnNewDocument(() => {
    window.longTasks = [];
    new PerformanceObserver((list) => {
      for (const task of list.getEntries()) window.longTasks.push([task.startTime, task.duration]);
    }).observe({type: 'longtask', buffered: true});
  });
  await page.goto(server.url);
  await started(page, 60000);
  const {tasks, menu} = await page.evaluate(() => ({tasks: window.longTasks, menu: wolbyPage.status().firstPicture}));
  const blocking = tasks.reduce((sum, [, duration]) => sum + Math.max(0, duration - 50), 0);
  totals.push(blocking);
  console.log(`run ${run + 1}: menu drawn at ${menu.toFixed(0)} ms; long tasks ` +
              `${tasks.map(([at, d]) => `${d.toFixed(0)} ms at ${at.toFixed(0)}`).join(', ') || 'none'}; ` +
              `blocking ${blocking.toFixed(0)} ms`);
  await context.close();
}
totals.sort((a, b) => a - b);
console.log(`median blocking time over 50 ms a task, 4x slower processor: ${totals[Math.floor(totals.length / 2)].toFixed(0)} ms`);
await browser.close();
await server.stop();
