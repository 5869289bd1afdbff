// The service worker: a copy of the site for use with no network. Each file is fetched afresh
// while the network is there (and the copy renewed), and taken from the copy when it is not, so
// a classroom that installed the page keeps it and still gets every new version.
const kCopy = 'daylight';
const kFiles = [
  './',
  'index.html',
  'main.js',
  'face.js',
  'address.js',
  'figures.js',
  'downloads.js',
  'frames.js',
  'report.js',
  'sky.js',
  'runs.js',
  'runs-worker.js',
  'places.js',
  'clock.js',
  'month.js',
  'style.css',
  'daylight.js',
  'daylight.wasm',
  'icon.svg',
  'manifest.webmanifest',
];

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches
      .open(kCopy)
      .then((copy) => copy.addAll(kFiles))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim());
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== self.location.origin)
    return;
  event.respondWith(
    (async () => {
      const copy = await caches.open(kCopy);
      try {
        const fresh = await fetch(event.request);
        if (fresh.ok) await copy.put(event.request, fresh.clone());
        return fresh;
      } catch (offline) {
        const kept = await copy.match(event.request, { ignoreSearch: true });
        if (kept) return kept;
        throw offline;
      }
    })(),
  );
});
