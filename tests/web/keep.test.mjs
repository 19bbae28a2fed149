// What the page keeps: settings across a closed tab, a stored folder that cannot be loaded left as it was,
// progress made in one of two tabs, and the whole game offline after one visit, until a new build replaces it.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import { after, before, describe, test } from "node:test";
import { FADE_MS, GREY, WHITE, address, findText, launch, openGame, press, root, serve, siteDir, sleep, storedFile,
  storyStart, switchFrameRate, until, untilMenu, untilText, siteAndBrowser } from "./browser.mjs";

describe("saves", { concurrency: false }, () => {
  const tab = siteAndBrowser();

  test("a setting changed just before the tab closes is there when it opens again", async () => {
    const page = await openGame(tab.browser, tab.server);
    await untilMenu(page);
    await switchFrameRate(page);
    await sleep(30);
    await page.close();
    const again = await openGame(tab.browser, tab.server);
    await untilText(again, "fps", WHITE);
    await again.close();
  });

  test("a stored folder that cannot be loaded is played without and never written over", async () => {
    const probe = await tab.browser.newPage();
    await probe.goto(address(tab.server, "manifest.webmanifest"));
    const before = await storedFile(probe, "kesv.cfg");
    assert.ok(before, "a stored settings file to keep");
    // The browser's storage fails once, for the game's load of the folder; every later request would
    // succeed, so only the game's own guard stands between it and a write.
    const page = await openGame(tab.browser, tab.server, { prepare: (p) => p.evaluateOnNewDocument(() => {
      const open = indexedDB.open.bind(indexedDB);
      let failed = false;
      indexedDB.open = (...args) => {
        if (failed) return open(...args);
        failed = true;
        throw new DOMException("no storage here", "UnknownError");
      };
    }) });
    const message = await until("the page's message", () => page.$eval("#message", (line) => !line.hidden && line.textContent));
    assert.match(message, /cannot be kept/);
    await untilMenu(page);
    assert.equal(await findText(page, "fps", WHITE), null, "played with the default settings");
    await switchFrameRate(page); // a change that would be stored, were there storage
    await untilText(page, "fps", WHITE);
    await page.close();
    assert.equal(await storedFile(probe, "kesv.cfg"), before);
    await probe.close();
  });

  test("progress made in one tab is kept when a second tab plays", async () => {
    const first = await openGame(tab.browser, tab.server);
    await untilMenu(first);
    const second = await openGame(tab.browser, tab.server);
    await until("the second tab waiting", () => second.$eval("#elsewhere", (notice) => !notice.hidden));
    // Into the first level: the furthest level reached is stored.
    await first.bringToFront();
    await press(first, "Enter");
    await sleep(FADE_MS);
    await press(first, "Enter");
    await untilText(first, "Time left:", WHITE);
    await until("the progress stored", () => storedFile(first, "kesv.sav"));
    const progress = await storedFile(first, "kesv.sav");

    await second.bringToFront();
    await second.click("#play-here");
    await until("the first tab handing over", () => first.$eval("#moved", (notice) => !notice.hidden));
    await untilMenu(second);
    // The second tab starts from the first one's progress, and its own writes leave it in place.
    const playerFile = (name) => second.evaluate((file) => new TextDecoder().decode(FS.readFile(file)), name);
    assert.equal(await playerFile("/game/kesv.sav"), progress);
    const settings = await storedFile(second, "kesv.cfg");
    await switchFrameRate(second);
    await until("the second tab's setting stored", async () => (await storedFile(second, "kesv.cfg")) !== settings);
    assert.equal(await storedFile(second, "kesv.sav"), progress);
    await first.close();
    await second.close();
  });

  test("a second tab waits until the first is closed, then plays with what the first stored", async () => {
    const first = await openGame(tab.browser, tab.server);
    await untilMenu(first);
    const second = await openGame(tab.browser, tab.server);
    await until("the second tab waiting", () => second.$eval("#elsewhere", (notice) => !notice.hidden));
    const settings = await storedFile(first, "kesv.cfg");
    await first.bringToFront();
    await switchFrameRate(first);
    await until("the first tab's setting stored", async () => (await storedFile(first, "kesv.cfg")) !== settings);
    const stored = await storedFile(first, "kesv.cfg");
    await first.close();
    await until("the second tab playing", () => second.$eval("#elsewhere", (notice) => notice.hidden));
    await untilMenu(second);
    const playerFile = await second.evaluate(() => new TextDecoder().decode(FS.readFile("/game/kesv.cfg")));
    assert.equal(playerFile, stored);
    await second.close();
  });

  test("a tab asked to hand over while it still loads never plays, so it never stores", async () => {
    // The first tab's load of the stored folder is held until the test lets it finish.
    const heldLoad = (p) => p.evaluateOnNewDocument(() => {
      const open = indexedDB.open.bind(indexedDB);
      const answer = Object.getOwnPropertyDescriptor(IDBRequest.prototype, "onsuccess").set;
      const letGo = new Promise((resolve) => { window.kesLetLoadFinish = resolve; });
      let held = false;
      indexedDB.open = (...args) => {
        const request = open(...args);
        if (held) return request;
        held = true;
        Object.defineProperty(request, "onsuccess", {
          set(handler) { answer.call(request, (event) => letGo.then(() => handler.call(request, event))); },
        });
        return request;
      };
    });
    const first = await openGame(tab.browser, tab.server, { prepare: heldLoad });
    await until("the first tab loading", () => first.evaluate(() => typeof window.kesLetLoadFinish === "function"));
    const second = await openGame(tab.browser, tab.server);
    await until("the second tab waiting", () => second.$eval("#elsewhere", (notice) => !notice.hidden));
    await second.click("#play-here");
    await until("the first tab handing over", () => first.$eval("#moved", (notice) => !notice.hidden));
    await untilMenu(second);
    await first.evaluate(() => window.kesLetLoadFinish());
    await until("the first tab's load done", () => first.evaluate(() => FS.analyzePath("/save/kesv.cfg").exists));
    await sleep(500);
    assert.equal(await first.evaluate(() => Module.kesStorage.ready), false, "the first tab may not store");
    assert.equal(await first.evaluate(() => window.kesProbe.lit()), false, "nor does its game start");
    await first.close();
    await second.close();
  });

  test("a tab opened from a level link plays with the stored files and stores nothing", async () => {
    // Sharp scaling stored by the game's own tab.
    const own = await openGame(tab.browser, tab.server);
    await untilMenu(own);
    await press(own, "ArrowDown", "Enter");
    await sleep(FADE_MS);
    await press(own, "ArrowUp", "ArrowUp", "Enter", "Enter"); // Scaling, above Language
    await until("Sharp stored", async () => /Sharp/.test((await storedFile(own, "kesv.window")) ?? ""), 5000);
    const assist = await storedFile(own, "kesv.assist");

    // A small level's link, as the link fuzzer's seed holds it after its one selecting byte.
    const seed = readFileSync(path.join(root, "fuzz/corpus/levellink/text-link"), "latin1");
    const link = seed.slice(seed.indexOf("#")).trim();
    const linked = await openGame(tab.browser, tab.server, { page: link });
    await until("the stored scaling", () =>
      linked.evaluate(() => document.getElementById("canvas").dataset.scaling === "sharp"));
    // Paused, the assist options, the game speed changed: written in the tab, never stored.
    await untilText(linked, "Time left:", WHITE);
    await sleep(FADE_MS);
    await press(linked, "p", "Enter");
    await untilText(linked, "Game speed:", GREY);
    await press(linked, "ArrowRight");
    await until("the change written in the tab", () =>
      linked.evaluate(() => FS.analyzePath("/game/kesv.assist").exists &&
        /speed 90/.test(new TextDecoder().decode(FS.readFile("/game/kesv.assist")))));
    await sleep(500);
    assert.equal(await storedFile(linked, "kesv.assist"), assist);
    await linked.close();
    await own.close();
  });
});

describe("offline", () => {
  // A copy of the site at a fixed address, rebuilt in place by the test.
  const site = mkdtempSync(path.join(tmpdir(), "kestrovane-site-"));
  let browser;
  before(async () => {
    cpSync(siteDir, site, { recursive: true });
    browser = await launch();
  });
  after(async () => {
    await browser?.close();
    rmSync(site, { recursive: true, force: true });
  });
  const stop = (server) => {
    server.closeAllConnections();
    return new Promise((resolve) => server.close(resolve));
  };

  test("after one visit it plays with no server and no network, until a new build takes its place", async () => {
    let server = await serve({ site });
    // However it ends, the server goes: one left listening keeps the test run from ending.
    try {
      const port = server.address().port;
      const page = await openGame(browser, server);
      await untilMenu(page);
      await until("the service worker in charge", () =>
        page.evaluate(() => navigator.serviceWorker.controller !== null));

      await stop(server);
      await page.setOfflineMode(true);
      await page.reload();
      await untilMenu(page);
      await press(page, "Enter"); // New Game: the story types out
      await untilText(page, storyStart(), GREY);

      // A rebuilt site at the same address: the page offers it on the next load, and then it is the one played.
      // The build is told by a mark in its page (the game sets the page's title itself once it runs).
      const build = () => page.evaluate(() => document.querySelector('meta[name="kestrovane-build"]')?.content ?? "1")
        .catch(() => "");
      assert.equal(await build(), "1");
      const index = path.join(site, "index.html");
      writeFileSync(index, readFileSync(index, "utf8").replace("<title>", '<meta name="kestrovane-build" content="2">\n<title>'));
      execFileSync("python3", [path.join(root, "tools/web/site-worker.py"), path.join(root, "web/sw.js"), site]);
      server = await serve({ site, port });
      await page.setOfflineMode(false);
      await page.reload();
      // The browser may keep the new build waiting while the old one finishes what it serves (half a minute
      // has been seen on a busy machine).
      const offer = await until("the new version offered", () =>
        page.$eval("#message", (line) => !line.hidden && line.textContent), 90000);
      assert.match(offer, /new version/);
      await page.click("#message button");
      await until("the new build's page", async () => (await build()) === "2", 30000);
      await untilMenu(page);
      assert.equal((await page.evaluate(() => caches.keys())).length, 1, "the old build's cache is gone");
      await page.close();
    } finally {
      await stop(server);
    }
  });
});
