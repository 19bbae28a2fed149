// Sharp scaling in a browser tab: the page snaps its picture to a whole multiple of 320x240, and the choice
// is kept across a reload.
import assert from "node:assert/strict";
import { test } from "node:test";
import { FADE_MS, openGame, press, sleep, storedFile, until, siteAndBrowser } from "./browser.mjs";

const tab = siteAndBrowser();

const picture = (page) =>
  page.evaluate(() => {
    const box = document.getElementById("canvas").getBoundingClientRect();
    return { scaling: document.getElementById("canvas").dataset.scaling, width: box.width, height: box.height };
  });

test("Sharp snaps the page's picture to whole multiples and is kept across a reload", async () => {
  const page = await openGame(tab.browser, tab.server);
  await until("the game's scaling on the canvas", async () => (await picture(page)).scaling === "fit");
  const fit = await picture(page);
  assert.ok(fit.width % 320 !== 0, `Fit fills the 800x600 page at 4:3 (${fit.width} wide)`);

  // Options, then Up wraps round to Language, the last row, and again to Scaling above it; Fit steps
  // through Stretch to Sharp.
  await press(page, "ArrowDown", "Enter");
  await sleep(FADE_MS);
  await press(page, "ArrowUp", "ArrowUp", "Enter", "Enter");
  await until("Sharp", async () => (await picture(page)).scaling === "sharp", 5000);
  assert.deepEqual(await picture(page), { scaling: "sharp", width: 640, height: 480 });

  // The browser's storage is written after the game's file: the reload waits for it.
  await until("Sharp stored", async () => /sharp/i.test((await storedFile(page, "kesv.window")) ?? ""), 5000);
  await page.reload();
  await until("Sharp after the reload", async () => (await picture(page)).scaling === "sharp");
  assert.deepEqual(await picture(page), { scaling: "sharp", width: 640, height: 480 });
  await page.close();
});
