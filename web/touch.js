// The on-screen touch controls: a d-pad, Jump and Fire, Back and Pause, each finger holding its own control;
// in the level editor also Tools (its menu) and Zoom.
"use strict";
(() => {
  // The game's action numbers, as its kes_touch entry takes them.
  const ACTIONS = { Left: 0, Right: 1, Up: 2, Down: 3, Jump: 4, Fire: 5, Back: 7, Pause: 8, Tools: 10, Zoom: 11 };
  const ARMS = ["Up", "Left", "Right", "Down"];

  // Pixel art in the game's palette: '#' ink, ' ' nothing; drawn 1:1 and enlarged with square pixels.
  const INK = "#c4ccdc";
  const ICONS = {
    Right: ["  #     ", "  ##    ", "  ###   ", "  ####  ", "  ###   ", "  ##    ", "  #     ", "        "],
    Jump: ["   ##   ", "  ####  ", " ##  ## ", "##    ##", "   ##   ", "  ####  ", " ##  ## ", "##    ##"],
    Fire: ["   #    ", " # # #  ", "  ###   ", "####### ", "  ###   ", " # # #  ", "   #    ", "        "],
    Back: ["  #     ", " ##     ", "####### ", " ##    #", "  #    #", "       #", "  ##### ", "        "],
    Pause: ["        ", " ## ##  ", " ## ##  ", " ## ##  ", " ## ##  ", " ## ##  ", " ## ##  ", "        "],
    Fullscreen: ["### ### ", "#     # ", "#     # ", "        ", "#     # ", "#     # ", "### ### ", "        "],
    Tools: ["        ", "####### ", "        ", "####### ", "        ", "####### ", "        ", "        "],
    Zoom: ["  ###   ", " #   #  ", "#  #  # ", "# ### # ", "#  #  # ", " #   #  ", "  ### # ", "       #"],
  };
  // The other arrows are the right one turned.
  const turn = (rows) => rows[0].split("").map((_, x) => rows.map((row) => row[x]).reverse().join(""));
  ICONS.Down = turn(ICONS.Right);
  ICONS.Left = turn(ICONS.Down);
  ICONS.Up = turn(ICONS.Left);

  // A 16x16 control: an outlined body (round or with cut corners) and its icon in the middle.
  function art(icon, fill, round) {
    const canvas = document.createElement("canvas");
    canvas.width = canvas.height = 16;
    const context = canvas.getContext("2d");
    const inside = (x, y, inset) => {
      const dx = Math.abs(x - 7.5), dy = Math.abs(y - 7.5), edge = 7.5 - inset;
      if (round) return dx * dx + dy * dy <= (edge + 0.4) * (edge + 0.4);
      return dx <= edge && dy <= edge && dx + dy <= 2 * edge - 2;
    };
    for (let y = 0; y < 16; ++y)
      for (let x = 0; x < 16; ++x) {
        if (!inside(x, y, 0)) continue;
        context.fillStyle = !inside(x, y, 1) ? "#10121c" : !inside(x - 1, y - 1, 1) ? "#8e9ab2" : fill;
        context.fillRect(x, y, 1, 1);
      }
    context.fillStyle = INK;
    (icon || []).forEach((row, y) => [...row].forEach((c, x) => c === "#" && context.fillRect(x + 4, y + 4, 1, 1)));
    return `url(${canvas.toDataURL()})`;
  }

  const root = document.getElementById("touch");
  if (!root) return;
  const control = (name, classes, fill, round) => {
    const element = document.createElement("div");
    element.className = classes;
    element.setAttribute("role", "button");
    element.setAttribute("aria-label", name);
    element.style.backgroundImage = art(ICONS[name], fill, round);
    if (name in ACTIONS) element.dataset.action = name;
    return element;
  };
  const group = (classes, ...children) => {
    const element = document.createElement("div");
    element.className = classes;
    element.append(...children);
    return element;
  };
  const STEEL = "#3e4664", NIGHT = "#28283e";
  const hub = group("touch-hub");
  hub.style.backgroundImage = art(null, STEEL, false);
  const arms = ARMS.map((arm) => control(arm, "touch-arm touch-arm-" + arm.toLowerCase(), STEEL));
  const pad = group("touch-pad", hub, ...arms);
  const fullscreen = control("Fullscreen", "touch-small", NIGHT);
  fullscreen.hidden = !(document.fullscreenEnabled && document.documentElement.requestFullscreen);
  // The editor's own controls show only while the game says the editor is up (html.editing).
  const tools = control("Tools", "touch-small touch-editing", NIGHT);
  const zoom = control("Zoom", "touch-small touch-editing", NIGHT);
  root.append(
    group("touch-top touch-top-left", control("Back", "touch-small", NIGHT), tools, zoom),
    group("touch-top touch-top-right", fullscreen, control("Pause", "touch-small", NIGHT)),
    pad,
    group("touch-buttons", control("Fire", "touch-button touch-fire", "#c0262a", true),
      control("Jump", "touch-button touch-jump", "#348e3a", true)));

  // How many fingers hold each action: the game hears a change only when the first comes or the last goes.
  const holders = new Map();
  const feed = (name, held) => {
    const count = (holders.get(name) || 0) + (held ? 1 : -1);
    holders.set(name, count);
    if (count !== (held ? 1 : 0)) return;
    root.querySelector(`[data-action="${name}"]`).classList.toggle("held", held);
    // While the game is still loading there is no one to tell.
    if (typeof Module !== "undefined" && typeof Module._kes_touch === "function") {
      Module._kes_touch(ACTIONS[name], held ? 1 : 0);
    }
  };

  // Each finger (by its identifier) holds at most one control; the d-pad's finger steers by where it is.
  const fingers = new Map();
  const hold = (finger, name) => {
    if (finger.name === name) return;
    if (finger.name) feed(finger.name, false);
    finger.name = name;
    if (name) feed(name, true);
  };
  // The d-pad's direction: the arm the finger points at from the middle; a small middle holds none.
  const padDirection = (x, y) => {
    const box = pad.getBoundingClientRect();
    const dx = x - (box.left + box.width / 2), dy = y - (box.top + box.height / 2);
    if (Math.hypot(dx, dy) < box.width / 10) return null;
    if (Math.abs(dx) > Math.abs(dy)) return dx < 0 ? "Left" : "Right";
    return dy < 0 ? "Up" : "Down";
  };
  // A button finger holds the button it is over, so a thumb can roll from Fire to Jump.
  const buttonAt = (x, y) => {
    const element = document.elementFromPoint(x, y)?.closest("[data-action]");
    const button = element && root.contains(element) && !element.classList.contains("touch-arm");
    return button ? element.dataset.action : null;
  };
  const releaseAll = () => {
    fingers.forEach((finger) => hold(finger, null));
    fingers.clear();
  };

  // Browsers start sound only from a person's gesture, and iOS only inside the handler of one.
  const wakeAudio = () => {
    const context = typeof Module !== "undefined" && Module.SDL2 && Module.SDL2.audioContext;
    if (context && context.state === "suspended") context.resume();
  };

  let shown = false;
  const show = (visible) => {
    if (visible === shown) return;
    shown = visible;
    if (!visible) releaseAll();
    root.hidden = !visible;
    document.documentElement.classList.toggle("touch", visible);
  };

  // While the controls show, a touch on the page never scrolls, zooms, selects or opens a menu; the
  // notices' own buttons still take their taps.
  const ours = (event) => shown && !(event.target instanceof Element && event.target.closest("button, input"));
  document.addEventListener("touchstart", (event) => {
    show(true);
    wakeAudio();
    if (!ours(event)) return;
    event.preventDefault();
    for (const touch of event.changedTouches) {
      const target = document.elementFromPoint(touch.clientX, touch.clientY);
      const onPad = target && pad.contains(target);
      const finger = { pad: onPad, name: null };
      fingers.set(touch.identifier, finger);
      hold(finger, onPad ? padDirection(touch.clientX, touch.clientY) : buttonAt(touch.clientX, touch.clientY));
    }
  }, { passive: false });
  document.addEventListener("touchmove", (event) => {
    if (!ours(event)) return;
    event.preventDefault();
    for (const touch of event.changedTouches) {
      const finger = fingers.get(touch.identifier);
      if (finger) hold(finger, (finger.pad ? padDirection : buttonAt)(touch.clientX, touch.clientY));
    }
  }, { passive: false });
  const lift = (event) => {
    wakeAudio();
    for (const touch of event.changedTouches) {
      const finger = fingers.get(touch.identifier);
      if (!finger) continue;
      hold(finger, null);
      fingers.delete(touch.identifier);
    }
    if (ours(event)) event.preventDefault();
  };
  document.addEventListener("touchend", lift, { passive: false });
  document.addEventListener("touchcancel", lift, { passive: false });
  root.addEventListener("contextmenu", (event) => event.preventDefault());
  // A hidden page gets no lifts: let nothing stay held.
  document.addEventListener("visibilitychange", () => document.hidden && releaseAll());
  window.addEventListener("blur", releaseAll);

  // Fullscreen of the whole page, controls and all; browsers grant it only on a finger's lift.
  fullscreen.addEventListener("touchend", () => {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    else document.documentElement.requestFullscreen({ navigationUI: "hide" }).catch(() => {});
  });

  // A key or a controller in use hides the controls until the next touch.
  // A phone's own keyboard typing in the page's text field is not such a key.
  window.addEventListener("keydown", (event) => event.isTrusted && !(event.target instanceof HTMLInputElement) &&
    show(false), true);
  setInterval(() => {
    if (!shown || !navigator.getGamepads) return;
    const used = [...navigator.getGamepads()].some((pad) => pad && (pad.buttons.some((button) => button.pressed) ||
      pad.axes.some((axis) => Math.abs(axis) > 0.5)));
    if (used) show(false);
  }, 100);

  show(matchMedia("(pointer: coarse)").matches || navigator.maxTouchPoints > 0);
})();
