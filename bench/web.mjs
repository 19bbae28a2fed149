// The browser build's budgets, side by side in one run: the download (raw and gzip-compressed, per file,
// at most 2 MiB compressed), the time from page load to the main menu's first picture (at most 1 s), and
// the CPU of all of headless Chromium with SDL's software renderer (a 2D canvas, the default): the idle
// main menu against a floor page served beside it that puts a 640x480 picture on a 2D canvas every display
// frame (the goal is at most 1.3 times that), play on level 1 walking right and jumping every 0.7 s (the goal
// is at most 1.2 times the floor), play paused, the page hidden, and the idle menu with WebGL.
// Usage: node bench/web.mjs [runs]   (after `make web`; KES_WEB_DIR and KES_DATA_DIR as for the tests)
import { readFileSync, readdirSync } from "node:fs";
import { gzipSync } from "node:zlib";
import {
  FADE_MS, WHITE, launch, openGame, press, serve, siteFiles, sleep, until, untilMenu, untilText,
} from "../tests/web/browser.mjs";

const runs = Number(process.argv[2] || 3);
const IDLE_SECONDS = 10;
const BUDGET_GZIP = 2 * 1024 * 1024;
const BUDGET_FIRST_PICTURE_MS = 1000;
const FLOOR_GOAL = 1.3;
const PLAY_GOAL = 1.2;
const JUMP_EVERY_MS = 700;
const floorPage = `<!doctype html><canvas id="canvas" width="640" height="480"></canvas><script>
  const context = document.getElementById("canvas").getContext("2d");
  const picture = context.createImageData(640, 480);
  let frame = 0;
  const draw = () => {
    picture.data.fill(++frame % 256);
    context.putImageData(picture, 0, 0);
    requestAnimationFrame(draw);
  };
  requestAnimationFrame(draw);
</script>`;
const mb = (bytes) => (bytes < 100 * 1024 ? (bytes / 1024).toFixed(1) + " KiB" : (bytes / 1024 / 1024).toFixed(2) + " MiB");
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
    // The first frame on the canvas that is not black, timed from the start of the navigation.
    const page = await openGame(browser, server, { prepare: (p) => p.evaluateOnNewDocument(() => {
      const watch = () => {
        if (window.kesProbe && window.Module?.calledRun && window.kesProbe.lit())
          window.kesFirstPicture = performance.now();
        else requestAnimationFrame(watch);
      };
      requestAnimationFrame(watch);
    }) });
    times.push(await until("the first picture", () => page.evaluate(() => window.kesFirstPicture)));
    await page.close();
  }
  return median(times);
}

const sleepThenMeasure = async (browser) => {
  await sleep(2000);
  const pid = browser.process().pid;
  const start = treeTicks(pid);
  await sleep(IDLE_SECONDS * 1000);
  return (treeTicks(pid) - start) / TICKS_PER_SECOND / IDLE_SECONDS;
};

// One fresh Chromium per figure: the page brought to the state to measure, then its CPU share measured.
// prepare may leave something running through the measurement: it returns its note, and stop() ends that.
async function cpu(server, { page: at = "", webgl = false, prepare = async () => "", stop = () => {} }) {
  const browser = await launch({ webgl });
  try {
    const page = await openGame(browser, server, { page: at });
    const note = await prepare(page, browser);
    return { share: await sleepThenMeasure(browser), note };
  } finally {
    stop();
    await browser.close();
  }
}

// Level 1 from the menu, the story skipped, then walking right and jumping now and then until stopped.
function playing() {
  let jumping = null;
  return {
    prepare: async (page) => {
      await untilMenu(page);
      await press(page, "Enter"); // New Game
      await sleep(FADE_MS);
      await press(page, "Enter"); // the story skipped
      await untilText(page, "Time left:", WHITE, 10000);
      await sleep(FADE_MS);
      await page.keyboard.down("ArrowRight");
      jumping = setInterval(() => page.keyboard.press("ArrowUp", { delay: 100 }).catch(() => {}), JUMP_EVERY_MS);
      return "";
    },
    stop: () => clearInterval(jumping),
  };
}

const server = await serve({ pages: { "/floor.html": floorPage } });
try {
  console.log("== the browser build ==");
  let raw = 0;
  let gzip = 0;
  for (const { name, file, size } of siteFiles()) {
    const packed = gzipSync(readFileSync(file)).length;
    raw += size;
    gzip += packed;
    console.log(`${name.padEnd(22)} ${mb(size).padStart(10)} raw ${mb(packed).padStart(10)} gzip`);
  }
  const verdict = gzip <= BUDGET_GZIP ? "ok" : "OVER";
  console.log(`${"download".padEnd(22)} ${mb(raw).padStart(10)} raw ${mb(gzip).padStart(10)} gzip  (budget 2 MiB gzip: ${verdict})`);

  const browser = await launch();
  try {
    const ms = await loadToMenu(browser, server);
    const inTime = ms <= BUDGET_FIRST_PICTURE_MS ? "ok" : "OVER";
    console.log(`load to the menu's first picture: ${Math.round(ms)} ms (median of ${runs}, served from 127.0.0.1; budget 1 s: ${inTime})`);
  } finally {
    await browser.close();
  }

  const percent = (share) => `${(share * 100).toFixed(0)}% of one core`;
  const floor = await cpu(server, { page: "floor.html" });
  const menu = await cpu(server, { prepare: untilMenu });
  const ratio = menu.share / floor.share;
  console.log(`floor page (640x480 putImageData each frame): ${percent(floor.share)} over ${IDLE_SECONDS} s (all of Chromium)`);
  console.log(`idle main menu, software (2D canvas): ${percent(menu.share)}, ${ratio.toFixed(2)}x the floor ` +
    `(goal ${FLOOR_GOAL}x: ${ratio <= FLOOR_GOAL ? "ok" : "OVER"})`);
  const play = await cpu(server, playing());
  const playRatio = play.share / floor.share;
  console.log(`play, level 1 walking right and jumping: ${percent(play.share)}, ${playRatio.toFixed(2)}x the floor ` +
    `(goal ${PLAY_GOAL}x: ${playRatio <= PLAY_GOAL ? "ok" : "OVER"})`);
  const paused = await cpu(server, {
    prepare: async (page) => {
      await untilMenu(page);
      for (const key of ["Enter", "Enter", "p"]) { // New Game, the story, pause
        await press(page, key);
        await sleep(FADE_MS);
      }
      return "";
    },
  });
  console.log(`play paused: ${percent(paused.share)}`);
  const hidden = await cpu(server, {
    prepare: async (page, chromium) => {
      await untilMenu(page);
      // Another tab in front hides this one, as a player switching tabs does.
      await (await chromium.newPage()).bringToFront();
      return page.evaluate(() => document.visibilityState);
    },
  });
  console.log(`page hidden (its document ${hidden.note}): ${percent(hidden.share)}`);
  const webgl = await cpu(server, {
    page: "?renderer=webgl",
    webgl: true,
    // A WebGL canvas reads back blank outside its frames, so the menu is given time instead of looked at.
    prepare: async (page) => {
      await until("the game running", () => page.evaluate(() => window.Module?.calledRun));
      await sleep(3000);
      return (await page.evaluate(() => Boolean(Module.ctx))) ? "" : " (not in use!)";
    },
  });
  console.log(`idle main menu, WebGL${webgl.note}: ${percent(webgl.share)}`);
} finally {
  server.close();
}
