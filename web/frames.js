// The frames while something moves: each animation frame does the latest update of each kind
// asked for since the one before. The work of each frame is kept for the browser test.
export function makeFollow() {
  const frameWork = [];
  const pending = new Map();
  return function follow(kind, update) {
    if (pending.size === 0) {
      requestAnimationFrame(() => {
        const started = performance.now();
        for (const each of pending.values()) each();
        pending.clear();
        frameWork.push(performance.now() - started);
        document.body.dataset.frameWork = frameWork
          .slice(-120)
          .map((t) => t.toFixed(1))
          .join(' ');
      });
    }
    pending.set(kind, update);
  };
}
