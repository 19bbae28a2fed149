// The browser build's budgets: the download (raw and gzip-compressed, at most 3 MB compressed), the time from
// page load to the first picture of the main menu, and the idle main menu's CPU in headless Chromium with
// SDL's software renderer (a 2D canvas, the default) and with WebGL (SwiftShader). Prints a table.
// Usage: node bench/web.mjs [runs]   (after `make web`; KES_WEB_DIR and KES_DATA_DIR as for the tests)
import { readFileSync, readdirSync } from "node:fs";
import { gzipSync } from "node:zlib";
import { address, installProbe, launch, menuPicture, serve, siteFiles, sleep, until } from "../tests/web/browser.mjs";

const runs = Number(process.argv[2] || 3);
const IDLE_SECONDS = 10;
const BUDGET_GZIP = 3 * 1024 * 1024;
const mb = (bytes) => (bytes < 100 * 1024 ? (bytes / 1024).toFixed(1) + " kB" : (bytes / 1024 / 1024).toFixed(2) + " MB");
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// CPU ticks (user + system) of a process and everything it started, from /proc.
function treeTicks(rootPid) {
  const parents = new Map();
  const ticks = new Map();
  for (const entry of readdirSync("/proc")) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const fields = readFileSync(`/proc/${entry}/stat`, "latin1").replace(/^.*\) /, "").split(" ");
      parents.set(Number(entry), Number(fields[1]));
      ticks.set(Number(entry), Number(fields[11]) + Number(fields[12]));
    } catch {
      // the process ended while being read
    }
  }
  const inTree = (pid) => pid === rootPid || (parents.has(pid) && pid > 1 && inTree(parents.get(pid)));
  let total = 0;
  for (const [pid, value] of ticks) if (inTree(pid)) total += value;
  return total;
}
const TICKS_PER_SECOND = 100; // the kernel's USER_HZ on Linux

async function loadToMenu(browser, server) {
  const times = [];
  for (let run = 0; run < runs; ++run) {
    const page = await browser.newPage();
    await installProbe(page);
    // The first frame on the canvas that is not black, timed from the start of the navigation.
    await page.evaluateOnNewDocument(() => {
      const watch = () => {
        if (window.kesProbe && document.getElementById("canvas") && Module.calledRun && window.kesProbe.lit())
          window.kesFirstPicture = performance.now();
        else requestAnimationFrame(watch);
      };
      requestAnimationFrame(watch);
    });
    await page.goto(address(server));
    times.push(await until("the first picture", () => page.evaluate(() => window.kesFirstPicture)));
    await page.close();
  }
  return median(times);
}

async function idleCpu(server, webgl) {
  const browser = await launch({ webgl });
  try {
    const page = await browser.newPage();
    await installProbe(page);
    await page.goto(address(server, webgl ? "?renderer=webgl" : ""));
    const menu = menuPicture();
    await until("the main menu", async () => (await page.evaluate((url) => window.kesProbe.likeness(url), menu)) > 0.9);
    const usesWebgl = await page.evaluate(() => Boolean(Module.ctx));
    await sleep(2000);
    const pid = browser.process().pid;
    const start = treeTicks(pid);
    await sleep(IDLE_SECONDS * 1000);
    const share = (treeTicks(pid) - start) / TICKS_PER_SECOND / IDLE_SECONDS;
    return { share, usesWebgl };
  } finally {
    await browser.close();
  }
}

const server = await serve();
try {
  console.log("== the browser build ==");
  let raw = 0;
  let gzip = 0;
  for (const { name, file, size } of siteFiles()) {
    const packed = gzipSync(readFileSync(file)).length;
    raw += size;
    gzip += packed;
    console.log(`${name.padEnd(18)} ${mb(size).padStart(9)} raw ${mb(packed).padStart(9)} gzip`);
  }
  const verdict = gzip <= BUDGET_GZIP ? "ok" : "OVER";
  console.log(`${"download".padEnd(18)} ${mb(raw).padStart(9)} raw ${mb(gzip).padStart(9)} gzip  (budget 3 MB gzip: ${verdict})`);

  const browser = await launch();
  try {
    const ms = await loadToMenu(browser, server);
    console.log(`load to the menu's first picture: ${Math.round(ms)} ms (median of ${runs}, served from 127.0.0.1)`);
  } finally {
    await browser.close();
  }
  for (const webgl of [false, true]) {
    const { share, usesWebgl } = await idleCpu(server, webgl);
    const name = webgl ? `WebGL${usesWebgl ? "" : " (not in use!)"}` : "software (2D canvas)";
    console.log(`idle main menu, ${name}: ${(share * 100).toFixed(0)}% of one core over ${IDLE_SECONDS} s (all of Chromium)`);
  }
} finally {
  server.close();
}
