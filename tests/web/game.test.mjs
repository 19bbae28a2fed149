// The browser build in headless Chromium, as a player meets it: the menu, sound after the first key,
// fullscreen from a key press, settings kept across a reload, a new game through the story into play,
// paused while the page is hidden and shown anew when back, screenshots as downloads, the page after Quit, errors on the page, and
// the shipped levels' recorded inputs played in WebAssembly as on the desktop.
import assert from "node:assert/strict";
import { existsSync, mkdtempSync, readFileSync, readdirSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import { after, before, describe, test } from "node:test";
import { FADE_MS, GREY, WHITE, address, assertWalksRight, findText, openGame, press, root, sleep, storedFile,
  switchFrameRate, throughStory, until, untilMenu, untilText, siteAndBrowser } from "./browser.mjs";

const tab = siteAndBrowser();

const audioState = (page) => page.evaluate(() => Module.SDL2?.audioContext?.state ?? "none");
// The frame-rate switch (the third value of the settings' first line) as stored for the next visit.
const storedShowFps = async (page) => ((await storedFile(page, "kesv.cfg")) || "").split("\n")[2]?.split(" ")[2];

describe("the game in a browser tab", { concurrency: false }, () => {
  let page;
  let downloads;
  before(async () => {
    downloads = mkdtempSync(path.join(tmpdir(), "kestrovane-downloads-"));
    page = await openGame(tab.browser, tab.server);
    const session = await page.createCDPSession();
    await session.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
  });
  after(() => rmSync(downloads, { recursive: true, force: true }));

  test("reaches the main menu, picture for picture as on the desktop", async () => {
    await untilMenu(page);
    const fullscreen = await page.evaluate(() => document.fullscreenElement !== null);
    assert.equal(fullscreen, false, "the game starts in the page");
  });

  test("its sound runs from the first key on", async () => {
    assert.notEqual(await audioState(page), "none", "the audio was opened");
    await press(page, "Shift");
    await until("the audio running", async () => (await audioState(page)) === "running", 5000);
    const start = await page.evaluate(() => Module.SDL2.audioContext.currentTime);
    await sleep(300);
    assert.ok((await page.evaluate(() => Module.SDL2.audioContext.currentTime)) > start, "sound time advances");
  });

  test("goes fullscreen and back from a key press on the Options screen", async () => {
    await press(page, "ArrowDown", "Enter"); // Options
    await untilText(page, "Fullscreen: Off", GREY);
    await sleep(FADE_MS);
    const fullscreen = () => page.evaluate(() => document.fullscreenElement?.id ?? "none");
    await press(page, ...Array(4).fill("ArrowDown"), "Enter");
    await until("fullscreen", async () => (await fullscreen()) === "screen", 5000);
    await untilText(page, "Fullscreen: On", GREY, 5000);
    await press(page, "Enter");
    await until("back in the page", async () => (await fullscreen()) === "none", 5000);
    await untilText(page, "Fullscreen: Off", GREY, 5000);
  });

  test("keeps a changed setting across a reload, even one 30 ms after the key", async () => {
    await press(page, "ArrowDown", "ArrowDown", "Enter"); // Display FPS, two lines below Fullscreen
    await untilText(page, "Display FPS: On", GREY, 5000);
    // Stored when it changed, not at an exit a tab never has.
    await until("the setting stored", async () => (await storedShowFps(page)) === "1", 5000);
    await page.reload();
    await untilMenu(page);
    await untilText(page, "fps", WHITE, 5000);

    await switchFrameRate(page);
    await sleep(30);
    await page.reload();
    await untilMenu(page);
    assert.equal(await storedShowFps(page), "0");
    assert.equal(await findText(page, "fps", WHITE), null, "no frame rate shown");
  });

  test("plays a new game through the story, moving the player by keys", async () => {
    await press(page, "Enter"); // New Game
    await throughStory(page, () => press(page, "Enter"));
    await assertWalksRight(page, (held) => (held ? page.keyboard.down("ArrowRight") : page.keyboard.up("ArrowRight")));
  });

  test("pauses play while another tab hides the page", async () => {
    // The game is kept from hearing that the page lost its focus, as a phone may not say when its screen
    // goes dark: only hiding pauses it.
    await page.evaluate(() => {
      window.kesHoldFocus = true;
      addEventListener("blur", (event) => window.kesHoldFocus && event.stopImmediatePropagation(), true);
    });
    const other = await tab.browser.newPage();
    await other.bringToFront();
    await until("the game's page hidden", () => page.evaluate(() => document.visibilityState === "hidden"), 5000);
    await sleep(300);
    await other.close();
    await page.bringToFront();
    await untilText(page, "Paused", GREY, 5000);

    // Paused, the picture stands still and is not shown again; after over a second away the next frame is
    // shown anew, as the browser may have dropped the canvas meanwhile. The test paints the canvas over.
    const still = () => page.evaluate(() => Array.from(window.kesProbe.frame()).join());
    await until("a still picture", async () => {
      const first = await still();
      await sleep(300);
      return first === (await still());
    }, 5000);
    const paintOver = () => page.evaluate(() => {
      const context = document.getElementById("canvas").getContext("2d");
      context.fillStyle = "#ff00ff";
      context.fillRect(0, 0, 640, 480);
    });
    const paintedOver = () => page.evaluate(() => window.kesProbe.frame().slice(0, 3).join() === "255,0,255");
    await paintOver();
    await sleep(500);
    assert.ok(await paintedOver(), "a picture like the one shown is not shown again");
    const away = await tab.browser.newPage();
    await away.bringToFront();
    await until("the game's page hidden", () => page.evaluate(() => document.visibilityState === "hidden"), 5000);
    await sleep(1500);
    await away.close();
    await page.bringToFront();
    await until("the picture shown anew after the page was away", async () => !(await paintedOver()), 5000);

    await page.evaluate(() => { window.kesHoldFocus = false; });
    await press(page, "p");
    await until("play going on", async () => !(await findText(page, "Paused", GREY)), 5000);
  });

  test("downloads a screenshot from the screenshot key", async () => {
    await press(page, "F12");
    const file = path.join(downloads, "kesv0.png");
    await until("the download", () => existsSync(file) && readdirSync(downloads).length === 1, 10000);
    // The picture of play, countdown and all, at the size of the page's picture.
    const png = "data:image/png;base64," + readFileSync(file).toString("base64");
    const size = await page.evaluate(async (url) => {
      const image = new Image();
      image.src = url;
      await image.decode();
      return [image.width, image.height];
    }, png);
    assert.deepEqual(size, [640, 480]);
    assert.ok(await page.evaluate((url) => window.kesProbe.findText("Time left:", [255, 255, 255], url), png));
  });

  test("after Quit and the credits, says how to play again", async () => {
    await press(page, "Escape");
    await untilMenu(page);
    await press(page, "ArrowDown", "ArrowDown", "Enter");
    await untilText(page, "Thank you for playing!", GREY, 10000);
    await until("the page's notice", () => page.$eval("#ended", (notice) => !notice.hidden), 10000);
  });
});

test("shows a failure to load its data on the page", async () => {
  const page = await tab.browser.newPage();
  // The site's service worker would serve the package from its cache, past the spoiling.
  await page.setBypassServiceWorker(true);
  await page.setRequestInterception(true);
  page.on("request", async (request) => {
    if (!request.url().endsWith(".data")) return request.continue();
    // The package arrives whole, but every byte of it spoiled.
    const response = await fetch(request.url());
    const size = (await response.arrayBuffer()).byteLength;
    return request.respond({ status: 200, contentType: "application/octet-stream", body: Buffer.alloc(size) });
  });
  await page.goto(address(tab.server));
  const message = await until("the error on the page", () =>
    page.$eval("#error", (box) => !box.hidden && box.textContent));
  assert.match(message, /font/i);
  await page.close();
});

test("finishes every shipped level from its recorded input, as on the desktop", async () => {
  // The desktop's lowest air along each level's input, from the level atlas that make test keeps fresh.
  const atlas = readFileSync(path.join(root, "docs/levels.md"), "utf8");
  const desktop = new Map([...atlas.matchAll(/^\| \d+ \| \[(\w+)\].* \| ([\d.]+) \|$/gm)].map((m) => [m[1], m[2]]));
  const page = await tab.browser.newPage();
  await page.goto(address(tab.server, "replay/"));
  const lines = await until("the replays", async () => {
    const printed = await page.evaluate(() => Module.lines);
    return printed.at(-1) === "done" && printed;
  }, 120000);
  await page.close();
  const levels = lines.slice(0, -1);
  assert.equal(levels.length, desktop.size, lines.join("\n"));
  for (const line of levels) {
    // Anything but a finished level (an error, a level left unfinished) fails here.
    const finished = line.match(/^(\w+)\.map finished after (\d+) updates, par (\d+), lowest air ([\d.]+)$/);
    assert.ok(finished, line);
    const [, level, updates, par, air] = finished;
    assert.equal(updates, par, `${line}: the level's clock against its recorded input`);
    assert.equal(air, desktop.get(level), line);
  }
});
