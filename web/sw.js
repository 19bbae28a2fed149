// The site's service worker: keeps every file of one build in a cache named after that build's content, so
// the page loads and plays with no network, and a new build replaces the old one as a whole.
// tools/web/site-worker.py fills in the two lines below when the site is built.
const CACHE = "kestrovane-@HASH@";
const FILES = @FILES@;

// The files of this build, fetched past the browser's HTTP cache so that none is an older build's.
self.addEventListener("install", (event) => {
  event.waitUntil(
    caches.open(CACHE)
      .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: "reload" }))))
      .then(() => self.skipWaiting()));
});

// The new build takes over at once; older builds' caches go.
self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name.startsWith("kestrovane-") && name !== CACHE)
        .map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

// This build's files from the cache (the page's address stands for index.html, its query ignored);
// anything else from the network.
self.addEventListener("fetch", (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== "GET" || url.origin !== location.origin) return;
  const scope = new URL(self.registration.scope);
  const file = url.pathname === scope.pathname ? "index.html" : url.pathname.slice(scope.pathname.length);
  if (!FILES.includes(file)) return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(file))
    .then((cached) => cached || fetch(event.request)));
});
