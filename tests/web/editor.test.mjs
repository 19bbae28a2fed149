// The level editor in the browser: "My levels" starts a new level, made with the mouse and a finger,
// test-played and back, its link copied and opened in a new page, where it plays at once with Edit and Keep
// beside it. The level and its autosave outlast a reload; Keep, Copy link and Delete work from the list,
// and a broken link says why on the page. A level is also made on a phone by touch alone, kept across a
// reload and played to its exit.
import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";
import { readFileSync } from "node:fs";
import path from "node:path";
import { GREY, dataDir, emulateTouch, findText, fingers, openGame, sleep, until, untilText, siteAndBrowser }
  from "./browser.mjs";

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
// The centre of a cell, with the view scrolled to the bottom of the new 40x15 level.
const cell = (x, y) => [x * 16 + 8, y * 16 + 8 - 32];
// The palette's tiles, one for each colour of the tile table; the side palette holds four a row, the
// entities in the rows below them.
const tiles = new Set(readFileSync(path.join(dataDir, "maps/tiletypes.cfg"), "latin1").split("\n")
  .filter((line) => !line.startsWith("//") && line.split(" ").length >= 8).map((line) => line.split(" ")[0])).size;
const sideEntityRow = Math.ceil(tiles / 4);

describe("the level editor in a browser tab", { concurrency: false }, () => {
  let page;
  let link;
  before(async () => {
    const prepare = (p) => p.setViewport({ width: 800, height: 600, hasTouch: true });
    page = await openGame(tab.browser, tab.server, { page: "?edit", prepare });
  });
  // One tab plays at a time: the next page waits for this one to close.
  after(async () => page.isClosed() || page.close());

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
    // The start and the open door from the entity palette, below the tiles' rows: Player first, ShipDoor2
    // (the eleventh entity) in its third row.
    await click(page, 256 + 8, sideEntityRow * 16 + 8);
    await click(page, ...cell(2, 13));
    await click(page, 256 + 32 + 8, (sideEntityRow + 2) * 16 + 8);
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

// "My levels" on a phone: a finger on New starts the next level of the list (level1, level2, ...).
async function newByTouch(page, hand) {
  await until("My levels", () => page.$eval("#levels", (list) => !list.hidden));
  const box = await (await page.$("#new")).boundingBox();
  await hand.tap([box.x + box.width / 2, box.y + box.height / 2]);
  await untilStatus(page, "New level levels/level");
}

describe("a level made by touch alone on a phone held upright", { concurrency: false }, () => {
  let page;
  let hand;
  // A point of the 320x240 picture, where a finger goes.
  const at = async (x, y) => Object.values(await onPage(page, x, y));
  const tapAt = async (x, y) => hand.tap(await at(x, y));
  // The palette's large board: its cells are 32 pixels from the picture's left edge, 8 from its top; the
  // tiles fill its first rows, ten a row, the entities follow.
  const entityRow = Math.ceil(tiles / 10);
  const choose = async (column, row) => {
    await tapAt(256 + 8, 8);
    await untilStatus(page, "Choose a tile or an entity");
    await tapAt(column * 32 + 16, 8 + row * 32 + 16);
  };
  // The tool menu's line (by its place in the menu), through the Tools control: its 18 lines of 10 pixels
  // start 21 pixels down the picture.
  const MENU = { words: 5, save: 11, leave: 17 };
  const menu = async (line) => {
    await hand.tap("Tools");
    await sleep(200);
    await tapAt(160, 21 + line * 10 + 5);
  };
  const open = async () => {
    page = await openGame(tab.browser, tab.server, { page: "?edit", prepare: (p) => emulateTouch(p, 390, 844) });
    hand = await fingers(page);
  };

  before(open);
  after(() => page.close());

  test("New in My levels, then a pinch and the Zoom control step the view closer and back", async () => {
    await newByTouch(page, hand);
    await untilStatus(page, "New level levels/level1.map");
    await hand.down(1, await at(110, 100));
    await hand.down(2, await at(140, 100));
    // 30 pixels apart, then 40 (not yet a step), then 50.
    for (const x of [150, 160]) await hand.move(2, await at(x, 100));
    await hand.up(2);
    await hand.up(1);
    await untilStatus(page, "Zoom 2x");
    await hand.tap("Zoom");
    await untilStatus(page, "Zoom 3x");
    await hand.tap("Zoom");
    await untilStatus(page, "Zoom 1x");
    // The first finger's cell was no stroke: the level's dark ground shows there, unpainted.
    const cell66 = await page.evaluate(() => Array.from(window.kesProbe.frame().slice((208 * 640 + 208) * 4,
      (208 * 640 + 208) * 4 + 3)));
    assert.deepEqual(cell66, [12, 12, 24]);
  });

  test("paints a floor, puts down the start and the exit, types its words and saves", async () => {
    await choose(4, 0); // a solid tile
    await untilStatus(page, "Tile chosen");
    await hand.down(1, await at(8, 12 * 16 + 8));
    for (let x = 1; x <= 11; ++x) await hand.move(1, await at(x * 16 + 8, 12 * 16 + 8));
    await hand.up(1);
    await choose(0, entityRow);
    await untilStatus(page, "Entity chosen: Player");
    await tapAt(16 + 8, 11 * 16 + 8);
    await choose(0, entityRow + 1); // the eleventh entity
    await untilStatus(page, "Entity chosen: ShipDoor2");
    await tapAt(9 * 16 + 8, 11 * 16 + 8);

    await menu(MENU.words);
    await until("the page's text field", () => page.$eval("#ask", (form) => !form.hidden));
    await page.$eval("#ask-text", (field) => { field.value = ""; });
    await page.type("#ask-text", "Made by thumb");
    await page.keyboard.press("Enter"); // the phone keyboard's Go
    await until("the field put away", () => page.$eval("#ask", (form) => form.hidden));
    await menu(MENU.save);
    await untilStatus(page, "Saved levels/level1.map");
  });

  test("after a reload finds it in My levels with its words, opens it and plays it to its exit", async () => {
    // The address names the level: a reload opens it again, and leaving it comes back to the list.
    await page.reload();
    await untilStatus(page, "Opened levels/level1.map");
    await menu(MENU.leave);
    // Leaving the editor takes the page to ?edit: a look during that navigation finds nothing yet.
    await until("My levels after leaving", () => page.$eval("#levels", (list) => !list.hidden).catch(() => false));
    const row = '#level-list li:has(button[data-level="level1"])';
    assert.equal(await page.$eval(row + " .words", (words) => words.textContent), "Made by thumb");
    const box = await (await page.$(row + " button")).boundingBox();
    await hand.tap([box.x + box.width / 2, box.y + box.height / 2]);
    await untilStatus(page, "Opened levels/level1.map");
    await hand.tap("Pause");
    await hand.down(0, "Right");
    await untilText(page, "Level 1 complete", GREY, 20000);
    await hand.up(0);
    await untilStatus(page, "Back: Tools can send this run as a race");
  });
});

// The editor's own controls beside the others, on a phone held either way.
for (const [width, height] of [[844, 390], [390, 844]]) {
  test(`at ${width}x${height} the editor's Tools and Zoom are 44x44 or more, clear of the picture and the rest`,
    async () => {
      const page = await openGame(tab.browser, tab.server,
        { page: "?edit", prepare: (p) => emulateTouch(p, width, height) });
      await newByTouch(page, await fingers(page));
      const { boxes, picture } = await page.evaluate(() => {
        const box = (element) => element.getBoundingClientRect().toJSON();
        const shown = [...document.querySelectorAll("#touch [role=button]")].filter((e) => e.offsetWidth > 0);
        return { boxes: Object.fromEntries(shown.map((e) => [e.getAttribute("aria-label"), box(e)])),
          picture: box(document.getElementById("canvas")) };
      });
      await page.close();
      const overlap = (a, b) => a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
      for (const name of ["Tools", "Zoom"]) {
        const b = boxes[name];
        assert.ok(b, `${name} shows in the editor`);
        assert.ok(b.width >= 44 && b.height >= 44, `${name} is ${b.width}x${b.height}`);
        assert.ok(b.left >= 0 && b.top >= 0 && b.right <= width && b.bottom <= height, `${name} is on screen`);
        assert.ok(!overlap(b, picture), `${name} is clear of the picture`);
        const crowded = Object.keys(boxes).filter((other) => other !== name && overlap(b, boxes[other]));
        assert.deepEqual(crowded, [], `${name} is clear of the other controls`);
      }
    });
}
