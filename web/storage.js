// The player's files (settings, progress and the rest of kesv.*) kept in the browser's IndexedDB for the
// site: loaded before the game starts, each file stored as soon as the game writes it, and played in one
// tab at a time, so that no tab's older copy overwrites what another tab saved since.
// Runs inside kestrovane.js (linked with --pre-js), beside the runtime's FS and IDBFS.
Module.kesStorage = (() => {
  const FOLDER = "/save";
  const LOCK = "kestrovane-player-files";
  const channel = typeof BroadcastChannel === "function" ? new BroadcastChannel("kestrovane") : null;
  const inFlight = new Set(); // store transactions not yet committed
  const said = new Set();
  let yieldTab = null; // resolves this tab's lock once it has stopped

  // The page's hooks (web/index.html), where there are any.
  const page = (hook, argument) => Module.kestrovane && Module.kestrovane[hook] && Module.kestrovane[hook](argument);

  // Each message reaches the page once, however often its cause repeats.
  const tell = (text) => {
    if (said.has(text)) return;
    said.add(text);
    console.warn("Kestrovane: " + text);
    page("notice", text);
  };

  // What a failure to store the file loses, as the player is told it.
  const lost = (path) => (path.startsWith(FOLDER + "/levels/") ? "The level could not be kept in this browser: "
    : "Settings and progress could not be saved: ");

  // Runs change on the stored folder's object store in a transaction of its own, committed at once.
  const change = (path, run) => {
    if (!storage.ready) return;
    IDBFS.getDB(FOLDER, (error, db) => {
      if (error) return tell(lost(path) + error);
      let transaction;
      try {
        transaction = db.transaction([IDBFS.DB_STORE_NAME], "readwrite");
      } catch (thrown) {
        return tell(lost(path) + thrown);
      }
      inFlight.add(transaction);
      const failed = () => {
        inFlight.delete(transaction);
        tell(lost(path) + (transaction.error || "the browser refused"));
      };
      transaction.oncomplete = () => inFlight.delete(transaction);
      transaction.onerror = failed;
      transaction.onabort = failed;
      run(transaction.objectStore(IDBFS.DB_STORE_NAME), () => {
        if (transaction.commit) transaction.commit();
      }, (why) => {
        tell(lost(path) + why);
        try { transaction.abort(); } catch (alreadyOver) { /* nothing more to do */ }
      });
    });
  };

  const storage = {
    // Whether this tab loaded the stored folder and may store into it.
    ready: false,

    // Stores one file of the folder as it is now, with the folders it lies in (a kept level's levels/),
    // so that the next visit can make them again before the file.
    store(path) {
      const folders = [];
      for (let at = path.indexOf("/", FOLDER.length + 1); at > 0; at = path.indexOf("/", at + 1))
        folders.push(path.slice(0, at));
      change(path, (store, done, fail) => {
        const next = (paths) => {
          if (paths.length === 0) return done();
          IDBFS.loadLocalEntry(paths[0], (loadError, entry) => {
            if (loadError) return fail(loadError);
            IDBFS.storeRemoteEntry(store, paths[0], entry, () => {});
            next(paths.slice(1));
          });
        };
        next(folders.concat([path]));
      });
    },

    // Forgets one file of the folder, removed by the game.
    unstore(path) {
      change(path, (store, done) => {
        IDBFS.removeRemoteEntry(store, path, () => {});
        done();
      });
    },

    // A page going away or out of sight: every store still open is committed now rather than when the
    // browser gets round to it.
    flush() {
      for (const transaction of inFlight) {
        try {
          if (transaction.commit) transaction.commit();
        } catch (alreadyCommitting) {
          // nothing more to do
        }
      }
    },
  };

  const load = (done) => {
    FS.mkdir(FOLDER);
    FS.mount(IDBFS, {}, FOLDER);
    FS.syncfs(true, (error) => {
      // The game then plays on files in memory only; nothing stored is ever written over or removed.
      if (error) tell("Settings and progress cannot be kept in this browser: " + (error.message || error));
      else storage.ready = true;
      done();
    });
  };

  // The game has ended (or stopped on an error): what it wrote is stored, and another tab may play.
  storage.release = () => {
    storage.flush();
    storage.ready = false;
    if (yieldTab) yieldTab();
  };

  // Another tab asked to play: this one stores nothing more, stops and lets it have the files.
  const stop = () => {
    Browser.mainLoop.pause();
    if (Module.SDL2 && Module.SDL2.audioContext) Module.SDL2.audioContext.suspend();
    storage.release();
    page("moved");
  };

  // Before main: the folder is loaded (or known to be unavailable) before the game reads its settings.
  Module.preRun = [].concat(Module.preRun || [], () => {
    addRunDependency("kes-storage");
    const start = () => load(() => removeRunDependency("kes-storage"));
    // Without Web Locks (an insecure page) each tab simply plays on its own copy.
    if (!navigator.locks) return start();
    // A shared level opened from its link plays beside the game's own tab: it reads the stored files but
    // stores nothing, so it needs no turn.
    if (location.hash.length > 1 && !new URLSearchParams(location.search).has("edit")) {
      return load(() => {
        storage.ready = false;
        removeRunDependency("kes-storage");
      });
    }
    const hold = () => {
      start();
      if (channel) channel.onmessage = (event) => event.data === "play-here" && stop();
      return new Promise((resolve) => { yieldTab = resolve; });
    };
    navigator.locks.request(LOCK, { ifAvailable: true }, (lock) => {
      if (lock) return hold();
      // Played in another tab: this one waits for it, or asks it to hand over.
      page("elsewhere", () => channel && channel.postMessage("play-here"));
      navigator.locks.request(LOCK, () => {
        page("elsewhere", null);
        return hold();
      });
      return undefined;
    });
  });

  // A level being edited is autosaved first (src/platform/PlatformWeb.cpp), so that its writes are stored too.
  const away = () => {
    if (storage.ready && Module._kes_level_away && runtimeInitialized) Module._kes_level_away();
    storage.flush();
  };
  addEventListener("pagehide", away);
  document.addEventListener("visibilitychange", () => document.hidden && away());
  return storage;
})();
