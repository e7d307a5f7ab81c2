// Drives Debian's headless Chromium (WebGL 2 on SwiftShader) against the served page, in one
// browser session:
//   node check_web.mjs URL OUT MOMENTS [CLICK_PACKAGE]
// 1. the start page loads with no console error and its download completes;
// 2. ?at=MOMENTS&size=640x480: each still frame, read from the canvas, to OUT/web/MOMENT.png;
// 3. ?nodialog&tap&package=CLICK_PACKAGE: Play starts the show, frames are shown, the music
//    position advances, the show ends by itself and the page is back at its start screen; every
//    click of the click track is heard within 25 ms of the position the show reports.
// KAMORA_WEB_SHOTS=FOLDER adds screenshots (start screen, the show, the show in a 16:9 window);
// KAMORA_WEB_BENCH=1 adds ?bench at 640x480. Prints its figures; exits 1 on a failed check.
import { createRequire } from "node:module";
import { mkdirSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";

const require = createRequire(path.resolve(process.env.KAMORA_NODE_MODULES || "build-web/node/node_modules") + "/");
const puppeteer = require("puppeteer-core");
const [url, out, moments, clickPackage] = process.argv.slice(2);
const shots = process.env.KAMORA_WEB_SHOTS;
const failures = [];
const fail = (what) => { failures.push(what); console.log(`FAIL: ${what}`); };
const seconds = (ms) => (ms / 1000).toFixed(1);

const profile = mkdtempSync(path.join(tmpdir(), "kamora-chromium-"));
const browser = await puppeteer.launch({
  executablePath: process.env.KAMORA_CHROMIUM || "/usr/bin/chromium",
  headless: true,
  userDataDir: profile,
  protocolTimeout: 900000,
  args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--ignore-gpu-blocklist",
         "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run",
         "--disable-quic", "--mute-audio"],
});
const consoleErrors = [];
async function openPage(width, height) {
  const page = await browser.newPage();
  await page.setViewport({ width, height });
  page.on("console", (m) => { if (m.type() === "error") consoleErrors.push(m.text()); });
  page.on("pageerror", (e) => consoleErrors.push(e.message));
  page.on("requestfailed", (r) => consoleErrors.push(`${r.url()}: ${r.failure()?.errorText}`));
  return page;
}
const state = (page) => page.evaluate(() => document.body.dataset.state);
const hours = 3600000;

try {
  // 1. The start page.
  let page = await openPage(960, 720);
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById("downloaded").textContent.match(/^(\S+) of \1 MB$/),
                             { timeout: hours });
  const download = await page.evaluate(() => window.kamora.downloadMs);
  console.log(`start page: KaMora.ppk downloaded in ${seconds(download)} s`);
  if (shots) await page.screenshot({ path: `${shots}/start-screen.png` });
  if (consoleErrors.length) fail(`console errors on load: ${consoleErrors.join(" | ")}`);
  await page.close();

  // 2. Still frames on the virtual clock.
  page = await openPage(800, 600);
  const began = Date.now();
  await page.goto(`${url}?at=${moments}&size=640x480`);
  mkdirSync(`${out}/web`, { recursive: true });
  for (const at of moments.split(",")) {
    await page.waitForSelector(`canvas[data-state="drawn"][data-at="${at}"]`, { timeout: hours });
    await (await page.$("canvas")).screenshot({ path: `${out}/web/${at}.png` });
    await page.evaluate(() => { document.getElementById("canvas").dataset.state = "next"; });
  }
  await page.waitForSelector('body[data-state="ended"]', { timeout: hours });
  console.log(`still frames: ${moments.split(",").length} moments in ${seconds(Date.now() - began)} s`);
  await page.close();

  // 3. The show in real time on a click track.
  if (clickPackage) {
    // A small window: the page's main thread, which feeds Web Audio, competes with SwiftShader's
    // drawing for the machine's two cores.
    page = await openPage(400, 300);
    await page.goto(`${url}?nodialog&tap&package=${clickPackage}`);
    await page.waitForFunction(() => window.KaMoraShow, { timeout: hours });
    await page.click("#play");
    await page.waitForSelector('body[data-state="playing"]', { timeout: hours });
    const playing = Date.now();
    await page.waitForSelector('body[data-state="ended"]', { timeout: hours });
    const run = await page.evaluate(() => window.kamora);
    const back = await page.evaluate(() => !document.getElementById("start").hidden);
    const sync = run.sync;
    console.log(`real time: click to first frame ${(run.firstFrameAt - run.clickAt).toFixed(0)} ms, ` +
                `${run.frames} frames in ${seconds(Date.now() - playing)} s, exit code ${run.code}`);
    if (run.code !== 0) fail(`the show ended with code ${run.code}`);
    if (!back) fail("the page did not return to its start screen");
    if (!sync || sync.clicks.length < 10) fail(`clicks heard: ${sync ? sync.clicks.length : 0}, expected 15`);
    if (sync && sync.clicks.length) {
      const last = Math.max(...sync.clicks.map((c) => c.click));
      if (last < 13) fail(`the music position stopped before its end: last click at ${last} s`);
      console.log(`sync: ${sync.onsets} onsets, ${sync.clicks.length} clicks, error mean ${sync.mean.toFixed(1)} ms, range ` +
                  `${sync.min.toFixed(1)} .. ${sync.max.toFixed(1)} ms, drift ${sync.driftMsPerMinute.toFixed(1)} ms/min, ` +
                  `output latency ${sync.latencyMs.toFixed(1)} ms`);
      console.log(`sync: clicks at ${sync.clicks.map((c) => `${c.click}: ${c.errorMs.toFixed(1)}`).join(", ")}`);
      // The position is read at every display frame; where a busy machine kept the page from two
      // readings around a click for more than 100 ms, the position between them is not known and
      // that click is not judged (a few at most).
      const judged = sync.clicks.filter((c) => c.gapMs <= 100);
      if (judged.length < sync.clicks.length) console.log(`sync: ${sync.clicks.length - judged.length} clicks between readings over 100 ms apart, not judged`);
      if (judged.length < 12) fail(`only ${judged.length} clicks heard between readings close enough to judge`);
      for (const c of judged) if (Math.abs(c.errorMs) > 25) fail(`click at ${c.click} s heard ${c.errorMs.toFixed(1)} ms off`);
    }
    if (run.frames < 20) fail(`only ${run.frames} frames shown`);
    await page.close();
  }

  // Optional: the show's look in a 4:3 and a 16:9 window.
  if (shots) {
    for (const [name, width, height, at] of [["show", 800, 600, 6000], ["show-16x9", 1280, 720, 14000]]) {
      page = await openPage(width, height);
      await page.goto(`${url}?nodialog`);
      await page.waitForFunction(() => window.KaMoraShow, { timeout: hours });
      await page.click("#play");
      await page.waitForSelector('body[data-state="playing"]', { timeout: hours });
      await page.mouse.move(0, 0);
      await new Promise((resolve) => setTimeout(resolve, at));
      await page.screenshot({ path: `${shots}/${name}.png` });
      await page.close();
    }
  }

  // Optional: frame times per slot.
  if (process.env.KAMORA_WEB_BENCH) {
    page = await openPage(800, 600);
    await page.goto(`${url}?bench&size=640x480`);
    await page.waitForSelector('body[data-state="ended"]', { timeout: hours });
    for (const line of await page.evaluate(() => window.kamora.report)) console.log(`bench: ${line}`);
    await page.close();
  }
  if (consoleErrors.length) fail(`console errors: ${consoleErrors.join(" | ")}`);
} catch (error) {
  fail(error.stack || String(error));
} finally {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
process.exit(failures.length ? 1 : 0);
