// The coarse maps drawn while a slider moves, made off the page's thread by the companion's own
// code in WebAssembly. Each message is a command line with its number; the answer is that number
// with the chart's SVG (empty where the companion drew none). Only the latest line asked for is
// drawn: those overtaken while the core was busy are dropped.
import createCore from './daylight.js';

const core = createCore();
let latest = null;
let scheduled = false;

async function draw() {
  const ready = await core;
  scheduled = false;
  const { id, args } = latest;
  const run = ready.run(args);
  self.postMessage({ id, svg: run.status === 0 ? run.svg : '' });
}

self.addEventListener('message', (event) => {
  latest = event.data;
  if (!scheduled) {
    scheduled = true;
    setTimeout(draw, 0);
  }
});
