// The companion's runs that may take long (the sky's chart, the map, the downloads), made off the
// page's thread by its own code in WebAssembly, so that no value can hold the page up. Each
// message asks for a run of one kind, {kind, id, args, text}; the worker says when it starts one,
// {started, kind, id}, and answers {kind, id, status, err, svg, memory}, with the output where text was
// asked for (a Blob: a table may run to many megabytes) or without it, the run then kept for its
// chart. Of each kind only the latest asked for is run, those overtaken while the core was busy
// dropped; the kinds waiting are run in the order they were asked for.
import createCore from './daylight.js';

// The memory a core may keep between runs: past it, the core is made afresh.
const kMostKept = 64 << 20;
let core = createCore();
let named = null; // the zones' names, once asked for

function zoneNames(ready) {
  named ??= fetch('zone-names.txt')
    .then((response) => (response.ok ? response.text() : ''))
    .catch(() => '');
  return named.then((text) => ready.setZoneNames(text));
}
const waiting = new Map(); // by kind, the latest asked for and not yet run
let scheduled = false;
const types = { csv: 'text/csv', json: 'application/json' };

async function runFirst() {
  scheduled = false;
  let first = null;
  for (const asked of waiting.values()) if (first === null || asked.id < first.id) first = asked;
  if (first === null) return;
  waiting.delete(first.kind);
  const { kind, id, args, text } = first;
  self.postMessage({ started: true, kind, id });
  try {
    const ready = await core;
    // A zone's offsets are named from the names made from tzdata, fetched once.
    if (args.some((a) => a.startsWith('--time-zone='))) await zoneNames(ready);
    const run = text ? ready.run(args) : ready.draw(args);
    // The memory the run took, which WebAssembly never gives back.
    const memory = ready.HEAPU8.length;
    const answer = { kind, id, status: run.status, err: run.err, svg: run.svg, memory };
    if (text) answer.out = new Blob([run.out], { type: types[text] ?? 'text/plain' });
    self.postMessage(answer);
    // A core a long table grew is made afresh, so that its memory returns to the system.
    if (memory > kMostKept) {
      core = createCore();
      named = null;
    }
  } catch (error) {
    // A core that stopped (out of memory, say) is made afresh for the next run.
    core = createCore();
    named = null;
    self.postMessage({
      kind,
      id,
      status: -1,
      err: `The page could not make this: ${error}`,
      svg: '',
    });
  }
  schedule();
}

function schedule() {
  if (scheduled || waiting.size === 0) return;
  scheduled = true;
  setTimeout(runFirst, 0);
}

self.addEventListener('message', (event) => {
  waiting.set(event.data.kind, event.data);
  schedule();
});
