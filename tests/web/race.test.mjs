// A race link in the browser: opened in a fresh profile, the level plays at once behind the card of the
// time to beat, and once a key starts the race the sender's run moves ahead as the ghost.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import path from "node:path";
import { describe, test } from "node:test";
import { GREY, dataDir, openGame, root, siteAndBrowser, until, untilText } from "./browser.mjs";

const tab = siteAndBrowser();

// Level 1's race at its par, as the desktop game prints it without a window.
const buildDir = path.dirname(dataDir);
const par = path.join(root, "assets/maps/level1.replay");
const race = execFileSync(path.join(buildDir, "kestrovane"),
  ["--level", "data/maps/level1.map", "--replay", par, "--print-link"],
  { cwd: buildDir, env: { ...process.env, SDL_VIDEODRIVER: "dummy", SDL_AUDIODRIVER: "dummy" } }).toString().trim();
const updates = readFileSync(par, "latin1").split("\n").filter((line) => !line.startsWith("//")).join(" ")
  .split(/\s+/).filter(Boolean).reduce((sum, word) => sum + Number(word.replace(/^\D*/, "")), 0);
const hundredths = Math.floor(updates * 100 / 30);
const clock = (n) => String(n).padStart(2, "0");
const toBeat = `${clock(Math.floor(hundredths / 6000))}:${clock(Math.floor(hundredths / 100) % 60)}.` +
  clock(hundredths % 100);

// Pixels of the 320x240 picture that changed since `before` while both horizontal neighbours did not: the
// ghost is drawn on every other pixel, anything else that moves changes whole runs of them.
const checkered = (page, before) => page.evaluate((earlier) => {
  const now = window.kesProbe.frame();
  const differs = (x, y) => {
    const i = (y * 2 * 640 + x * 2) * 4;
    return now[i] !== earlier[i] || now[i + 1] !== earlier[i + 1] || now[i + 2] !== earlier[i + 2];
  };
  let count = 0;
  for (let y = 0; y < 240; ++y)
    for (let x = 1; x < 319; ++x)
      count += differs(x, y) && !differs(x - 1, y) && !differs(x + 1, y);
  return count;
}, before);

describe("a race link in a browser tab", { concurrency: false }, () => {
  test("plays at once behind the time to beat, then with the sender's run as the ghost", async () => {
    assert.match(race, /^race\.[A-Za-z0-9_-]+$/);
    const page = await openGame(tab.browser, tab.server, { page: "#" + race });
    await untilText(page, "Time to beat  " + toBeat, GREY, 60000);
    await untilText(page, "Level 1", GREY);
    assert.equal(await page.$eval("#edit", (edit) => edit.hidden), true, "a race is raced, not edited");

    await page.focus("#canvas");
    // The race starts with any key; Q does nothing else in play.
    await page.keyboard.press("KeyQ");
    const start = await page.evaluate(() => Array.from(window.kesProbe.frame()));
    // The player stands still; the run ahead of it is drawn see-through (however slowly a loaded machine
    // starts it).
    await until("the sender's run moving ahead of the player, see-through",
      async () => await checkered(page, start) > 40, 15000);
    await page.close();
  });
});
