// Shared by the browser tests and the web benchmark: the built site served on 127.0.0.1, Debian's headless
// Chromium driven by puppeteer-core, and the game's picture read back from its canvas.
import assert from "node:assert/strict";
import { after, before } from "node:test";
import { createServer } from "node:http";
import { mkdtempSync, readFileSync, readdirSync, rmSync, statSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
export const webDir = path.resolve(process.env.KES_WEB_DIR || path.join(root, "build-web"));
export const dataDir = path.resolve(process.env.KES_DATA_DIR || path.join(root, "build/data"));
export const siteDir = path.join(webDir, "site");

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".css": "text/css",
  ".png": "image/png", ".webmanifest": "application/manifest+json" };

// The site at /, the replay player at /replay/ with a page of its own that runs it on SDL's dummy drivers.
const replayPage = `<!doctype html><script>
  var Module = { lines: [], print: (line) => Module.lines.push(line),
    preRun: [() => { ENV.SDL_VIDEODRIVER = "dummy"; ENV.SDL_AUDIODRIVER = "dummy"; }] };
</script><script src="kesreplay.js"></script>`;

// site: the folder served at / (the built site unless given); port: a fixed one, so that a site served again
// later is the same address to the browser; pages: more pages of the caller's own, by address
// ("/floor.html": its HTML).
export function serve({ site = siteDir, port = 0, pages = {} } = {}) {
  const own = { "/replay/": replayPage, ...pages };
  const server = createServer((request, response) => {
    const url = new URL(request.url, "http://127.0.0.1");
    if (own[url.pathname]) {
      response.writeHead(200, { "Content-Type": "text/html" }).end(own[url.pathname]);
      return;
    }
    const file = url.pathname.startsWith("/replay/")
      ? path.join(webDir, "replay", path.basename(url.pathname))
      : path.join(site, path.normalize(url.pathname === "/" ? "/index.html" : url.pathname));
    try {
      const body = readFileSync(file);
      const type = types[path.extname(file)] || "application/octet-stream";
      response.writeHead(200, { "Content-Type": type, "Cache-Control": "no-store" }).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => server.listen(port, "127.0.0.1", () => resolve(server)));
}

export function address(server, page = "") {
  return `http://127.0.0.1:${server.address().port}/${page}`;
}

// A new tab at the site (or one of its pages, by address) with the probe installed; prepare(page) runs
// before it loads.
export async function openGame(browser, server, { page: at = "", prepare } = {}) {
  const page = await browser.newPage();
  await installProbe(page);
  if (prepare) await prepare(page);
  await page.goto(address(server, at));
  return page;
}

// Chromium as root on a closed network: no sandbox, no background connections, a fresh profile.
export async function launch({ webgl = false } = {}) {
  const profile = mkdtempSync(path.join(tmpdir(), "kestrovane-chromium-"));
  // In English whatever the system's language: a page that wants another says so (language.test.mjs).
  const args = ["--no-sandbox", "--disable-quic", "--no-first-run", "--disable-background-networking", "--lang=en-US",
    "--disable-component-update", "--disable-sync", "--mute-audio",
    webgl ? "--enable-unsafe-swiftshader" : "--disable-gpu"];
  const browser = await puppeteer.launch({
    executablePath: process.env.KES_CHROMIUM || "/usr/bin/chromium",
    headless: true, userDataDir: profile, args,
    defaultViewport: { width: 800, height: 600 },
  });
  // Chromium's helpers may still be writing the profile as the browser goes.
  browser.on("disconnected", () => setTimeout(() => {
    try {
      rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
    } catch {
      // left in the temporary folder
    }
  }, 500));
  return browser;
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A screen has faded in well within this (8 opacity steps of 30 per second, from black).
export const FADE_MS = 1500;

export async function until(what, check, timeout = 30000) {
  const end = Date.now() + timeout;
  for (;;) {
    const result = await check();
    if (result) return result;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(100);
  }
}

// A touch screen of the given size, as a phone's browser reports it: coarse pointer, touch points.
export async function emulateTouch(page, width, height, deviceScaleFactor = 2) {
  await page.setViewport({ width, height, isMobile: true, hasTouch: true, isLandscape: width > height,
    deviceScaleFactor });
}

// Fingers on the page through the DevTools protocol: every touchStart and touchMove lists all the fingers
// down, a touchEnd the one that lifts. Fingers are placed on named controls (their aria-label) or points.
export async function fingers(page) {
  const session = await page.createCDPSession();
  const down = new Map();
  const send = (type, points) => session.send("Input.dispatchTouchEvent", { type, touchPoints: points });
  const all = () => [...down].map(([id, [x, y]]) => ({ id, x, y }));
  const at = async (where) => (typeof where === "string" ? centreOf(page, where) : where);
  const hand = {
    down: async (id, where) => {
      down.set(id, await at(where));
      await send("touchStart", all());
    },
    move: async (id, where) => {
      down.set(id, await at(where));
      await send("touchMove", all());
    },
    up: async (id) => {
      const [x, y] = down.get(id);
      down.delete(id);
      await send("touchEnd", [{ id, x, y }]);
    },
    // Held long enough for the game's next update to see it.
    tap: async (where, id = 9) => {
      await hand.down(id, where);
      await sleep(150);
      await hand.up(id);
      await sleep(100);
    },
  };
  return hand;
}

const centreOf = (page, name) =>
  page.$eval(`[aria-label="${name}"]`, (element) => {
    const box = element.getBoundingClientRect();
    return [box.x + box.width / 2, box.y + box.height / 2];
  });

// What the game shows, read through the probe: its main menu, and text in one colour.
export const GREY = [192, 192, 192];
export const WHITE = [255, 255, 255];
export const findText = (page, text, colour) =>
  page.evaluate((t, c) => window.kesProbe.findText(t, c), text, colour);
export const untilText = (page, text, colour, timeout) =>
  until(`"${text}" on the canvas`, () => findText(page, text, colour), timeout);
// The first words the story screen types: the start of the story's first line.
export const storyStart = () =>
  readFileSync(path.join(dataDir, "story.txt"), "latin1").split("\n").find((line) => !line.startsWith("//"))
    .slice(0, 12);
export const untilMenu = (page) =>
  until("the main menu's picture", async () =>
    (await page.evaluate((url) => window.kesProbe.likeness(url), menuPicture())) > 0.97);

// Keys held and released as a person's are: a browser grants fullscreen only while it handles a key event,
// so the game must see the press before the release comes.
export async function press(page, ...keys) {
  for (const key of keys) {
    await page.keyboard.press(key, { delay: 150 });
    await sleep(100);
  }
}

// From the main menu's first line: the Options screen's Display FPS switched, the last key pressed bare.
export async function switchFrameRate(page) {
  await press(page, "ArrowDown", "Enter"); // Options
  await untilText(page, "Display FPS:", GREY);
  await sleep(FADE_MS);
  await press(page, ...Array(6).fill("ArrowDown"));
  await page.keyboard.press("Enter");
}

// From New Game chosen: the story typed out, skip() ending it, and play faded in.
export async function throughStory(page, skip) {
  await untilText(page, storyStart(), GREY, 10000);
  await sleep(FADE_MS);
  await skip();
  await untilText(page, "Time left:", WHITE, 10000);
  await sleep(FADE_MS);
}

function dataUrl(file) {
  return "data:image/png;base64," + readFileSync(file).toString("base64");
}

// Installed in every page before it loads: the canvas read back, compared with a picture, and searched
// for text in the game's own font (font.png: 12 glyphs of 8x8 per row from the space, key colour magenta).
async function installProbe(page) {
  const font = dataUrl(path.join(dataDir, "gfx/font.png"));
  await page.evaluateOnNewDocument((fontUrl) => {
    const pixels = (source, width, height) => {
      const canvas = new OffscreenCanvas(width, height);
      const context = canvas.getContext("2d");
      context.drawImage(source, 0, 0);
      return context.getImageData(0, 0, width, height).data;
    };
    const picture = async (url) => {
      const image = new Image();
      image.src = url;
      await image.decode();
      return { data: pixels(image, image.width, image.height), width: image.width };
    };
    window.kesProbe = {
      frame: () => pixels(document.getElementById("canvas"), 640, 480),
      // The share of the canvas's pixels that match a 640x480 reference picture within a small tolerance.
      likeness: async (url) => {
        const reference = (await picture(url)).data;
        const frame = window.kesProbe.frame();
        let same = 0;
        for (let i = 0; i < frame.length; i += 4) {
          const near = (k) => Math.abs(frame[i + k] - reference[i + k]) <= 8;
          same += near(0) && near(1) && near(2);
        }
        return same / (frame.length / 4);
      },
      lit: () => window.kesProbe.frame().some((value, i) => i % 4 !== 3 && value > 16),
      // Pixels that differ between the canvas now and an earlier frame, from a row of the canvas down.
      changed: (before, fromRow = 0) => {
        const frame = window.kesProbe.frame();
        let count = 0;
        for (let i = fromRow * 640 * 4; i < frame.length; i += 4)
          count += frame[i] !== before[i] || frame[i + 1] !== before[i + 1] || frame[i + 2] !== before[i + 2];
        return count;
      },
      // Where the game drew text in one colour (a point of its 320x240 picture), or null; on the canvas, or
      // in a 640x480 picture of it when given one's address.
      findText: async (text, [r, g, b], url) => {
        window.kesFont ||= await picture(fontUrl);
        const font = window.kesFont;
        const frame = url ? (await picture(url)).data : window.kesProbe.frame();
        const glyphLit = (char, gx, gy) => {
          const glyph = char.charCodeAt(0) - 32;
          const i = (((glyph / 12) | 0) * 8 + gy) * font.width * 4 + ((glyph % 12) * 8 + gx) * 4;
          return !(font.data[i] === 128 && font.data[i + 1] === 0 && font.data[i + 2] === 128);
        };
        const shows = (x, y) => {
          for (let c = 0; c < text.length; ++c)
            for (let gy = 0; gy < 8; ++gy)
              for (let gx = 0; gx < 8; ++gx) {
                const i = ((y + gy) * 2 * 640 + (x + c * 8 + gx) * 2) * 4;
                const coloured = frame[i] === r && frame[i + 1] === g && frame[i + 2] === b;
                if (coloured !== glyphLit(text[c], gx, gy)) return false;
              }
          return true;
        };
        for (let y = 0; y + 8 <= 240; ++y)
          for (let x = 0; x + 8 * text.length <= 320; ++x)
            if (shows(x, y)) return { x, y };
        return null;
      },
    };
  }, font);
}

const menuPicture = () => dataUrl(path.join(root, "docs/screenshots/menu.png"));

// Every file of the built site, as a host serves it.
export function siteFiles(site = siteDir) {
  return readdirSync(site).sort().map((name) => ({
    name, file: path.join(site, name), size: statSync(path.join(site, name)).size,
  }));
}

// A player file as the browser's storage holds it now (null when it holds none): what a reload would find.
export function storedFile(page, name) {
  return page.evaluate((key) => new Promise((resolve, reject) => {
    const open = indexedDB.open("/save");
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const db = open.result;
      if (!db.objectStoreNames.contains("FILE_DATA")) return resolve(null);
      const get = db.transaction("FILE_DATA").objectStore("FILE_DATA").get(key);
      get.onsuccess = () => resolve(get.result ? new TextDecoder().decode(get.result.contents) : null);
      get.onerror = () => reject(get.error);
    };
  }), "/save/" + name);
}

// The player's air pack on the canvas: three rows of rust beside orange over a row of rust, in the 320x240
// picture (either way round, as the player faces). Returns the pack's top left, or null out of sight.
export const packAt = (page) =>
  page.evaluate(() => {
    const frame = window.kesProbe.frame();
    const RUST = [110, 56, 36];
    const ORANGE = [196, 110, 46];
    const is = (x, y, [r, g, b]) => {
      const i = (y * 2 * 640 + x * 2) * 4;
      return frame[i] === r && frame[i + 1] === g && frame[i + 2] === b;
    };
    const pair = (x, y, left, right) => is(x, y, left) && is(x + 1, y, right);
    const pack = (x, y, left, right) =>
      [0, 1, 2].every((row) => pair(x, y + row, left, right)) && pair(x, y + 3, RUST, RUST);
    for (let y = 0; y < 237; ++y)
      for (let x = 0; x < 319; ++x) if (pack(x, y, RUST, ORANGE) || pack(x, y, ORANGE, RUST)) return { x, y };
    return null;
  });

// The player's pack stays put over 800 ms untouched, then moves a tile (16 pixels) or more right over 800 ms
// with hold(true) walking (hold(false) lets go). The pack, unlike a count of changed pixels, ignores the
// ghost running beside.
export async function assertWalksRight(page, hold) {
  const at = () => until("the player in sight", () => packAt(page), 5000);
  const start = await at();
  await sleep(800);
  const rested = await at();
  await hold(true);
  await sleep(800);
  await hold(false);
  const walked = await at();
  assert.equal(rested.x - start.x, 0, "the player stands still untouched");
  const walking = walked.x - rested.x;
  assert.ok(walking >= 16, `walking right moved the player ${walking} pixels`);
}

// The site served and a browser launched before the tests of a file (or of the group it is called in), both
// closed after them: tab.server and tab.browser.
export function siteAndBrowser() {
  const tab = {};
  before(async () => {
    tab.server = await serve();
    tab.browser = await launch();
  });
  after(async () => {
    await tab.browser?.close();
    tab.server?.close();
  });
  return tab;
}
