// The level editor in the browser: "My levels" starts a new level, made with the mouse and a finger,
// test-played and back, its link copied and opened in a new page, where it plays at once with Edit and Keep
// beside it. The level and its autosave outlast a reload; Keep, Copy link and Delete work from the list,
// and a broken link says why on the page.
import assert from "node:assert/strict";
import { before, describe, test } from "node:test";
import { readFileSync } from "node:fs";
import path from "node:path";
import { dataDir, findText, openGame, until, siteAndBrowser } from "./browser.mjs";

const AMBER = [255, 192, 64];
const RED = [255, 0, 0];
const BLUE = [0, 0, 255];

const tab = siteAndBrowser();

const untilStatus = (page, text) => until(`"${text}" in the status line`, () => findText(page, text, AMBER));
// Play, faded in: the status display's health (red) and oxygen (blue) bars.
const playing = (page) => page.evaluate(([red, blue]) => {
  if (document.getElementById("canvas").width === 0) return false; // not set up yet
  const frame = window.kesProbe.frame();
  const at = (x, y) => Array.from(frame.slice((y * 640 + x) * 4, (y * 640 + x) * 4 + 3));
  return at(30, 12).join() === red.join() && at(100, 12).join() === blue.join();
}, [RED, BLUE]);
// A point of the 320x240 picture on the page.
async function onPage(page, x, y) {
  const box = await (await page.$("#canvas")).boundingBox();
  return { x: box.x + (x + 0.5) * box.width / 320, y: box.y + (y + 0.5) * box.height / 240 };
}
async function click(page, x, y) {
  const at = await onPage(page, x, y);
  await page.mouse.click(at.x, at.y, { delay: 60 });
}
// Escape leaves the editor, through the credits (skipped), back to "My levels".
async function leave(page) {
  await until("My levels again", async () => {
    if (await page.$eval("#levels", (list) => !list.hidden).catch(() => false)) return true;
    await page.keyboard.press("Escape").catch(() => {});
    return false;
  }, 60000);
}
// The palette: four columns of every tile type, then the entity types, in the tables' order.
const tileTypes = new Set(readFileSync(path.join(dataDir, "maps/tiletypes.cfg"), "utf8").split("\n")
  .filter((line) => !line.startsWith("//") && line.split(" ").length >= 8).map((line) => line.split(" ")[0]));
const entityTypes = readFileSync(path.join(dataDir, "maps/entitytypes.cfg"), "utf8").split("\n")
  .filter((line) => !line.startsWith("//") && line.split(" ").length >= 8)
  .map((line) => line.split(" ")).filter(([base]) => base !== "Bullet").map(([, name]) => name);
function entityOnPalette(name) {
  const index = entityTypes.indexOf(name);
  assert.ok(index >= 0, `${name} in the entity types`);
  const row = Math.ceil(tileTypes.size / 4) + Math.floor(index / 4);
  return [256 + (index % 4) * 16 + 8, row * 16 + 8];
}
// The centre of a cell, with the view scrolled to the bottom of the new 40x15 level.
const cell = (x, y) => [x * 16 + 8, y * 16 + 8 - 32];

describe("the level editor in a browser tab", { concurrency: false }, () => {
  let page;
  let link;
  before(async () => {
    const prepare = (p) => p.setViewport({ width: 800, height: 600, hasTouch: true });
    page = await openGame(tab.browser, tab.server, { page: "?edit", prepare });
  });

  test("makes a small level from My levels with the mouse and a finger", async () => {
    await until("My levels", () => page.$eval("#levels", (list) => !list.hidden));
    // Every target a finger can hit, and the name field has the keyboard's focus.
    const small = await page.$$eval("#levels button, #levels a, #levels input", (all) =>
      all.filter((one) => one.getBoundingClientRect().height < 44).map((one) => one.outerHTML));
    assert.deepEqual(small, []);
    await page.keyboard.type("mylevel");
    await page.keyboard.press("Enter");
    await untilStatus(page, "New level levels/mylevel.map");
    await page.focus("#canvas");
    await page.keyboard.press("ArrowDown");
    await page.keyboard.press("ArrowDown");
    // A crate row painted by dragging, then one more crate tapped with a finger.
    await click(page, 256 + 16 + 8, 16 + 8);
    const [x0, y0] = cell(3, 9);
    const from = await onPage(page, x0, y0);
    const to = await onPage(page, x0 + 4 * 16, y0);
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move(to.x, to.y, { steps: 8 });
    await page.mouse.up();
    const before = await page.evaluate(() => Array.from(window.kesProbe.frame()));
    const tap = await onPage(page, ...cell(9, 9));
    await page.touchscreen.tap(tap.x, tap.y);
    // Inside the cell, clear of the frame a cursor draws round it: most of its pixels now show the crate.
    const [cx, cy] = cell(9, 9);
    await until("the tapped cell painted", () => page.evaluate((b, [x0, y0]) => {
      const frame = window.kesProbe.frame();
      let changed = 0;
      for (let y = y0 - 5; y < y0 + 5; ++y)
        for (let x = x0 - 5; x < x0 + 5; ++x) {
          const i = (y * 2 * 640 + x * 2) * 4;
          changed += frame[i] !== b[i] || frame[i + 1] !== b[i + 1] || frame[i + 2] !== b[i + 2];
        }
      return changed > 50;
    }, before, [cx, cy]));
    // The start and the open door from the entity palette.
    await click(page, ...entityOnPalette("Player"));
    await click(page, ...cell(2, 13));
    await click(page, ...entityOnPalette("ShipDoor2"));
    await click(page, ...cell(14, 13));
    await page.keyboard.down("Control");
    await page.keyboard.press("s");
    await page.keyboard.up("Control");
    await untilStatus(page, "Saved levels/mylevel.map");
  });

  test("test-plays it and comes back to the editor", async () => {
    await page.keyboard.press("t");
    await until("test-play", () => playing(page));
    await page.keyboard.press("Escape");
    await untilStatus(page, "Back from test-play");
  });

  test("copies its link, which plays in a new page with Edit beside it", async () => {
    await until("the Copy link button", () => page.$eval("#copy", (button) => !button.hidden));
    await page.click("#copy");
    link = await until("the link in the address", () => page.evaluate(() => location.hash.slice(1)));
    const other = await openGame(tab.browser, tab.server, { page: "#" + link });
    // A link refused says why on the page: that is the failure to report, not a timeout.
    const refused = () => other.$eval("#error", (box) => (box.hidden ? "" : box.textContent));
    await until("the linked level playing", async () => {
      assert.equal(await refused(), "");
      return playing(other);
    }, 60000);
    assert.equal(await other.$eval("#edit", (anchor) => anchor.hidden), false);
    assert.equal(await other.$eval("#edit", (anchor) => anchor.getAttribute("href")), "?edit#" + link);
    assert.equal(await other.$eval("#keep", (anchor) => anchor.getAttribute("href")), "?edit&keep#" + link);
    await other.close();
  });

  test("keeps the level and its autosave across a reload, and offers the restore", async () => {
    // A change after the save, then the page reloaded at once: going away autosaves it, and the address
    // names the level, which opens again (not the link that Copy link put there).
    await page.keyboard.press("b");
    await click(page, ...cell(5, 5));
    await page.reload();
    await untilStatus(page, "A newer autosave exists: restore it? Y/N");
    // Declined, the autosave stays, and is offered again from the list.
    await leave(page);
    assert.deepEqual(await page.$$eval("#level-list .name", (names) => names.map((name) => name.textContent)),
      ["mylevel"]);
    await page.click('#level-list button[data-level="mylevel"]');
    await untilStatus(page, "A newer autosave exists: restore it? Y/N");
  });

  test("keeps a link's level with one press, copies its link and deletes it on a second press", async () => {
    await page.keyboard.press("n");
    await leave(page);
    await page.goto(page.url().replace(/\?.*$/, "") + "?edit&keep#" + link);
    await until("the link kept", () => page.$eval("#levels-note", (note) => note.textContent === "Kept as link1"));
    const names = () => page.$$eval("#level-list .name", (all) => all.map((name) => name.textContent));
    assert.deepEqual(await names(), ["link1", "mylevel"]);
    // Its link is the one it was kept from (the clipboard may be refused: then it is in the address).
    await page.evaluate(() => { navigator.clipboard.writeText = (text) => { window.copied = text; return Promise.resolve(); }; });
    const row = (name) => `#level-list li:has(button[data-level="${name}"])`;
    const [, copy, remove] = await page.$$(row("link1") + " button");
    await copy.click();
    assert.equal(await until("the copied link", () => page.evaluate(() => window.copied)),
      page.url().replace(/[?#].*$/, "") + "#" + link);
    await remove.click();
    assert.deepEqual(await names(), ["link1", "mylevel"]);
    await remove.click();
    assert.deepEqual(await names(), ["mylevel"]);
    await page.reload();
    await until("My levels after a reload", () => page.$eval("#levels", (list) => !list.hidden));
    assert.deepEqual(await names(), ["mylevel"]);
  });

  test("a broken link says why on the page, offers the main menu and lets another tab edit", async () => {
    await page.close(); // the tab that edited, and held the player's files
    const broken = link.slice(0, link.length / 2);
    const refused = [];
    for (const at of ["#" + broken, "?edit#" + broken]) {
      const other = await openGame(tab.browser, tab.server, { page: at });
      refused.push(other);
      const said = await until("the refusal", () =>
        other.$eval("#error", (box) => (box.hidden ? "" : document.getElementById("error-text").textContent)));
      assert.match(said, /^The (link cannot be played|level cannot be edited): The link is broken/);
      assert.equal(await other.$eval("#error-menu", (button) => button.hidden), false);
    }
    // The refused editor's tab no longer holds the files: another tab lists the levels at once.
    const next = await openGame(tab.browser, tab.server, { page: "?edit" });
    await until("My levels in another tab", () => next.$eval("#levels", (list) => !list.hidden));
    for (const each of refused.concat([next])) await each.close();
  });
});
