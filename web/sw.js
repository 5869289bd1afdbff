// The service worker: a copy of the site for use with no network. Each file is fetched afresh
// while the network is there, past the browser's own cache (so that no file of a new version is
// answered by an old one kept there), and taken from the copy when it is not. Each version of the
// site is kept apart, named by a hash of its files written here when the site is installed (the
// source says "source"), so a page never runs a mix of two; a classroom that installed the page
// keeps it and still gets every new version.
const kVersion = 'source';
const kCopy = `daylight-${kVersion}`;
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
  'sky-values.js',
  'sky-day.js',
  'sunlight.js',
  'answers.js',
  'commands.js',
  'dates.js',
  'planets.js',
  'sliders.js',
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
      .then((copy) => copy.addAll(kFiles.map((file) => new Request(file, { cache: 'reload' }))))
      .then(() => self.skipWaiting()),
  );
});

// The copies of other versions go.
self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) =>
        Promise.all(
          names
            .filter((name) => name.startsWith('daylight') && name !== kCopy)
            .map((name) => caches.delete(name)),
        ),
      )
      .then(() => self.clients.claim()),
  );
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== self.location.origin)
    return;
  event.respondWith(
    (async () => {
      const copy = await caches.open(kCopy);
      try {
        // Past the browser's cache: a request of the page's own made afresh (a navigation's
        // cannot take other options).
        const fetched = await fetch(new Request(event.request.url, { cache: 'no-cache' }));
        if (!fetched.ok) return fetched;
        // Answered as never to be kept by the page's own cache either, so that each file of
        // the next load comes through here again, of the same version.
        const headers = new Headers(fetched.headers);
        headers.set('Cache-Control', 'no-cache');
        const fresh = new Response(await fetched.arrayBuffer(), {
          status: fetched.status,
          statusText: fetched.statusText,
          headers,
        });
        await copy.put(event.request, fresh.clone());
        return fresh;
      } catch (offline) {
        const kept = await copy.match(event.request, { ignoreSearch: true });
        if (kept) return kept;
        throw offline;
      }
    })(),
  );
});
