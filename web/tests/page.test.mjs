// The page in Debian's chromium, headless, as tests of node:test, each on its own so that one
// failure hides no other: the golden file replayed through its boxes and button text for text, a
// fault with its report beside the box, sizes at three widths, planets, the sky, the map, tables
// that take long made while the page answers, a date, the sliders' frames, the downloads against
// daylight-cli, the keyboard and the live region, the
// address both ways and what it must never run, print, offline use, the page's weight and its
// time to a first result.
// Usage: node page.test.mjs SITE_FOLDER GOLDEN_FILE DAYLIGHT_CLI [SCREENSHOT.png]
// The tests, by job, each file in turn on the one browser (browser.mjs).
import './browser.mjs';
import './calculator.mjs';
import './sky.mjs';
import './downloads.mjs';
import './access.mjs';
