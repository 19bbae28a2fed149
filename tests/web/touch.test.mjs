// The page on a phone's touch screen and with a controller: the on-screen controls' names, sizes and places,
// fingers held together and slid, the controls giving way to keys and pads, and the game played by touch.
import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";
import { FADE_MS, GREY, assertWalksRight, emulateTouch, findText, fingers, openGame, packAt, sleep,
  throughStory, until, untilMenu, untilText, siteAndBrowser } from "./browser.mjs";

const NAMES = ["Left", "Right", "Up", "Down", "Jump", "Fire", "Back", "Pause", "Fullscreen"];
// A phone held sideways and upright.
const SIZES = [[844, 390], [390, 844]];

const tab = siteAndBrowser();

// A standard-mapping pad in place of the browser's own, its buttons set through window.kesPad.
function standInPad() {
  const button = (pressed) => ({ pressed, touched: pressed, value: pressed ? 1 : 0 });
  const pad = { id: "Test pad", index: 0, connected: true, mapping: "standard", timestamp: 1,
    axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => button(false)) };
  navigator.getGamepads = () => [pad, null, null, null];
  window.kesPad = {
    set: (index, pressed) => {
      pad.buttons[index] = button(pressed);
      pad.timestamp += 1;
    },
    connect: () => window.dispatchEvent(Object.assign(new Event("gamepadconnected"), { gamepad: pad })),
  };
}

// The page at a size, touch on (or off), with the stand-in pad when asked for, at its main menu.
async function openPage({ width = 844, height = 390, touch = true, pad = false } = {}) {
  const prepare = async (page) => {
    if (touch) await emulateTouch(page, width, height);
    else await page.setViewport({ width, height });
    if (pad) await page.evaluateOnNewDocument(standInPad);
  };
  const page = await openGame(tab.browser, tab.server, { prepare });
  await untilMenu(page);
  return page;
}

const shown = (page) => page.$eval("#touch", (touch) => !touch.hidden);

describe("the on-screen controls' places", () => {
  for (const [width, height] of SIZES) {
    test(`at ${width}x${height}: each control named, 44x44 or more, on screen, clear of the picture`, async () => {
      const page = await openPage({ width, height });
      const { boxes, picture } = await page.evaluate((names) => {
        const box = (selector) => document.querySelector(selector).getBoundingClientRect().toJSON();
        const boxes = Object.fromEntries(names.map((name) => [name, box(`[aria-label="${name}"]`)]));
        return { boxes, picture: box("#canvas") };
      }, NAMES);
      await page.close();
      const inside = (b) => b.left >= 0 && b.top >= 0 && b.right <= width && b.bottom <= height;
      assert.ok(inside(picture), `the picture ${JSON.stringify(picture)} is whole on screen`);
      assert.ok(picture.width >= 0.6 * Math.min(width, (height * 4) / 3), `the picture is ${picture.width} wide`);
      const overlap = (a, b) => a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
      for (const [name, b] of Object.entries(boxes)) {
        assert.ok(b.width >= 44 && b.height >= 44, `${name} is ${b.width}x${b.height}`);
        assert.ok(inside(b), `${name} at ${JSON.stringify(b)} is on screen`);
        assert.ok(!overlap(b, picture), `${name} is clear of the picture`);
        const crowded = Object.keys(boxes).filter((other) => other !== name && overlap(b, boxes[other]));
        assert.deepEqual(crowded, [], `${name} is clear of the other controls`);
      }
      if (width > height) {
        assert.ok(boxes.Right.right <= picture.left, "the d-pad left of the picture");
        assert.ok(boxes.Jump.left >= picture.right, "the buttons right of it");
      } else {
        assert.ok(NAMES.every((name) => boxes[name].top >= picture.bottom), "the controls under the picture");
      }
    });
  }
});

describe("the on-screen controls' fingers", { concurrency: false }, () => {
  let page;
  let hand;
  before(async () => {
    page = await openPage();
    hand = await fingers(page);
    // What the game would be told, by action number, instead of telling it.
    await page.evaluate(() => {
      window.kesTouched = [];
      Module._kes_touch = (action, held) => window.kesTouched.push(`${action}${held ? "+" : "-"}`);
    });
  });
  after(() => page.close());
  const told = () => page.evaluate(() => window.kesTouched.splice(0).join(" "));

  test("each finger holds and releases its own control; a slide changes it without lifting", async () => {
    // Left 0, Right 1, Up 2, Jump 4, Fire 5, Back 7.
    const steps = [
      ["walk right, then jump and fire with other fingers", () => hand.down(0, "Right"), "1+"],
      ["", () => hand.down(1, "Jump"), "4+"],
      ["", () => hand.down(2, "Fire"), "5+"],
      ["lifting the jump finger", () => hand.up(1), "4-"],
      ["sliding the d-pad's thumb up", () => hand.move(0, "Up"), "1- 2+"],
      ["and over to the left", () => hand.move(0, "Left"), "2- 0+"],
      ["lifting the thumb", () => hand.up(0), "0-"],
      ["", () => hand.up(2), "5-"],
      ["two fingers on Back tell it once", () => hand.down(3, "Back"), "7+"],
      ["", () => hand.down(4, "Back"), ""],
      ["", () => hand.up(3), ""],
      ["", () => hand.up(4), "7-"],
      ["rolling from Fire to Jump", () => hand.down(5, "Fire"), "5+"],
      ["", () => hand.move(5, "Jump"), "5- 4+"],
      ["", () => hand.up(5), "4-"],
    ];
    for (const [what, step, expected] of steps) {
      await step();
      assert.equal(await told(), expected, what);
    }
  });

  test("Fullscreen takes the whole page to the screen, controls and all, and back", async () => {
    const fullscreen = () => page.evaluate(() => document.fullscreenElement?.localName ?? "none");
    await hand.tap("Fullscreen");
    await until("fullscreen", async () => (await fullscreen()) === "html", 5000);
    await hand.tap("Fullscreen");
    await until("back in the page", async () => (await fullscreen()) === "none", 5000);
  });

  test("a key hides the controls, letting go of what they held; the next touch brings them back", async () => {
    assert.equal(await shown(page), true, "shown from the start on a touch screen");
    await hand.down(0, "Right");
    await page.keyboard.press("Shift");
    assert.equal(await shown(page), false);
    assert.equal(await told(), "1+ 1-");
    await hand.up(0);
    await hand.tap([420, 200]);
    assert.equal(await shown(page), true);
  });
});

test("after a touch the menus' and the editor's hints name the touch controls", async () => {
  const page = await openPage();
  await untilText(page, "Arrow Keys = Change current option", GREY, 3000);
  await (await fingers(page)).tap("Down");
  await untilText(page, "Arrows = Change current option", GREY, 3000);
  await untilText(page, "Jump = Select current option", GREY, 3000);
  await page.close();

  const editor = await openGame(tab.browser, tab.server, { page: "?edit", prepare: (p) => emulateTouch(p, 844, 390) });
  // The editor opens on a level from My levels: a new one, by its button (the page's, not the game's).
  await until("My levels", () => editor.$eval("#levels", (list) => !list.hidden));
  await editor.click("#new");
  await untilText(editor, "F1 help", GREY, 30000);
  await (await fingers(editor)).tap("Right");
  await untilText(editor, "Jump paint Fire tool", GREY, 3000);
  await editor.close();
});

test("on a screen without touch the controls wait for the first touch", async () => {
  const page = await openPage({ width: 1000, height: 700, touch: false });
  assert.equal(await shown(page), false);
  assert.equal(await page.$eval("#controls", (hints) => hints.offsetHeight > 0), true, "the key hints show");
  await (await fingers(page)).tap([500, 300]);
  assert.equal(await shown(page), true);
  await page.close();
});

for (const [width, height] of SIZES) {
  describe(`the game played by touch alone at ${width}x${height}`, { concurrency: false }, () => {
    let page;
    let hand;
    before(async () => {
      page = await openPage({ width, height });
      hand = await fingers(page);
    });
    after(() => page.close());

    test("the first touch starts the sound, Jump chooses New Game, any control ends the story", async () => {
      await hand.tap("Jump");
      const running = () => page.evaluate(() => Module.SDL2?.audioContext?.state === "running");
      await until("the audio running", running, 5000);
      await throughStory(page, () => hand.tap("Fire"));
    });

    test("walks right by one thumb and jumps by another, still walking", async () => {
      const rest = await until("the player in sight", () => packAt(page), 5000);
      await hand.down(0, "Right");
      await sleep(300);
      const takeOff = await until("the player in sight", () => packAt(page), 2000);
      await hand.down(1, "Jump");
      // In the air: waited on until the pack has risen a good way; then down again, still walking right.
      let top = takeOff.y;
      const air = await until("the pack rising", async () => {
        const at = await packAt(page);
        top = Math.min(top, at?.y ?? top);
        return at && top < takeOff.y - 8 && at;
      }, 3000);
      await hand.up(1);
      // Landed: well below the top, and at the same height a few updates apart.
      const landed = await until("the player landed", async () => {
        const first = await packAt(page);
        await sleep(100);
        const second = await packAt(page);
        return first && second && second.y === first.y && second.y > top + 8 && second;
      }, 3000);
      await hand.up(0);
      assert.ok(takeOff.x > rest.x, `walked from ${rest.x} to ${takeOff.x}`);
      assert.ok(air.x > takeOff.x && landed.x > air.x, `walked on: ${takeOff.x}, ${air.x} in the air, ${landed.x}`);
    });

    test("Pause dims and resumes, and Back returns to the menu", async () => {
      const brightness = () =>
        page.evaluate(() => window.kesProbe.frame().reduce((sum, value, i) => (i % 4 === 3 ? sum : sum + value), 0));
      const playing = await brightness();
      await hand.tap("Pause");
      await untilText(page, "Paused", GREY, 3000);
      await until("the picture dimmed", async () => (await brightness()) < 0.8 * playing, 3000);
      await hand.tap("Pause");
      await until("the card gone", async () => !(await findText(page, "Paused", GREY)), 3000);
      await hand.tap("Back");
      await untilMenu(page);
    });
  });
}

describe("the game played by a controller in the browser", { concurrency: false }, () => {
  let page;
  const press = async (button) => {
    await page.evaluate((b) => window.kesPad.set(b, true), button);
    await sleep(150);
    await page.evaluate((b) => window.kesPad.set(b, false), button);
    await sleep(150);
  };
  before(async () => {
    page = await openPage({ pad: true });
    await page.evaluate(() => window.kesPad.connect());
  });
  after(() => page.close());

  // Standard mapping: A 0, B 1, d-pad up 12, down 13, right 15.
  test("moves through the menus and hides the touch controls while used", async () => {
    assert.equal(await shown(page), true, "the touch controls show on a touch screen until the pad is used");
    await press(13);
    await press(0);
    await untilText(page, "Fullscreen: Off", GREY, 5000);
    assert.equal(await shown(page), false);
    await sleep(FADE_MS);
    await press(1);
    await untilMenu(page);
  });

  test("starts a new game and walks", async () => {
    await press(12);
    await press(0);
    await throughStory(page, () => press(0));
    await assertWalksRight(page, (held) => page.evaluate((on) => window.kesPad.set(15, on), held));
  });
});
