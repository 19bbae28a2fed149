// The browser build speaks the page's language: a browser that asks for German gets the menus in German,
// and the Language row's choice is kept in the browser's storage for the next visit.
import assert from "node:assert/strict";
import { describe, test } from "node:test";
import { GREY, openGame, press, storedFile, until, untilText, siteAndBrowser } from "./browser.mjs";

const tab = siteAndBrowser();

// What navigator.languages says, before the game asks it.
const speaking = (languages) => (page) => page.evaluateOnNewDocument((list) => {
  Object.defineProperty(navigator, "languages", { get: () => list });
  Object.defineProperty(navigator, "language", { get: () => list[0] });
}, languages);

// Both tabs share the browser's storage, where the second test keeps its choice: English is looked at first.
describe("the game in the page's language", { concurrency: false }, () => {
  test("a browser asking for a language the game lacks gets English", async () => {
    const page = await openGame(tab.browser, tab.server, { prepare: speaking(["ja-JP", "zh"]) });
    await untilText(page, "New Game", GREY);
    assert.equal(await page.evaluate(() => navigator.languages[0]), "ja-JP");
    await page.close();
  });

  test("a German browser gets the menus in German, and the choice is kept", async () => {
    const page = await openGame(tab.browser, tab.server, { prepare: speaking(["de-DE", "de", "en"]) });
    await untilText(page, "Neues Spiel", GREY);
    await press(page, "ArrowDown", "Enter"); // Optionen
    await untilText(page, "Sprache: Auto", GREY, 10000);
    await press(page, "ArrowUp", "ArrowRight"); // the last row: Auto, then Deutsch
    await untilText(page, "Sprache: Deutsch", GREY, 5000);
    await until("kesv.lang stored", async () => ((await storedFile(page, "kesv.lang")) || "").includes("\nlanguage de\n"),
      5000);
    await page.close();
  });
});
