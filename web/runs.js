// The companion's runs that may take long, asked of the worker (runs-worker.js), which starts
// with the first of them. ask(kind, args, text) answers with the run, {status, err, svg} and,
// where text ('csv' or 'json') is asked for, its output as a Blob; or with null where a later
// run of the same kind was asked for before it came. A run overtaken while under way has a
// quarter of a second more to finish (the coarse maps while a slider moves take less); after
// that it is not waited for: the worker is stopped and started afresh with the runs still wanted.
export function makeRuns() {
  let worker = null;
  let running = null; // the run the worker said it is on, {kind, id}
  let asked = 0;
  const awaited = new Map(); // by kind, the latest run asked for: {kind, id, args, text, resolve}
  const post = ({ kind, id, args, text }) => worker.postMessage({ kind, id, args, text });
  function start() {
    worker = new Worker('runs-worker.js', { type: 'module' });
    worker.addEventListener('message', (event) => {
      const run = event.data;
      const { dataset } = document.body;
      if (run.started) {
        running = run;
        // The runs begun, counted for the browser test.
        dataset.workerRuns = String(Number(dataset.workerRuns ?? 0) + 1);
        return;
      }
      running = null;
      // The worker's memory after its last run, and the most it took, kept for the browser test.
      if (run.memory !== undefined) {
        dataset.workerMemory = String(run.memory);
        dataset.workerMemoryMost = String(
          Math.max(run.memory, Number(dataset.workerMemoryMost ?? 0)),
        );
      }
      const latest = awaited.get(run.kind);
      if (latest?.id !== run.id) return;
      awaited.delete(run.kind);
      latest.resolve(run);
    });
    for (const wanted of [...awaited.values()].sort((a, b) => a.id - b.id)) post(wanted);
  }
  return function ask(kind, args, text = false) {
    asked += 1;
    const id = asked;
    const overtaken = awaited.get(kind);
    overtaken?.resolve(null);
    return new Promise((resolve) => {
      const wanted = { kind, id, args, text, resolve };
      awaited.set(kind, wanted);
      if (worker === null) {
        start();
        return;
      }
      post(wanted);
      if (overtaken === undefined) return;
      setTimeout(() => {
        if (running?.id !== overtaken.id) return;
        worker.terminate();
        running = null;
        start();
      }, 250);
    });
  };
}
