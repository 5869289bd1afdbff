// The answers of a press in their places: each result in its box, said once by the live region,
// at one size that fits them all, with the day's lengths as people read them beside them, and
// the button that copies them.
const $ = (id) => document.getElementById(id);

export function makeAnswers(core, results, texts, loaded) {
  const copy = $('copy');
  const announce = $('announce');
  let firstResult = null;

  // One size for the answers of a press and the boxes alike: the largest up to the usual at
  // which each answer fits whole.
  function fitValues() {
    const form = $('Form1');
    const fits = () => results.every((r) => r.element.scrollWidth <= r.element.clientWidth);
    let size = 0.8;
    form.style.removeProperty('--value-size');
    while (!fits() && size > 0.45) {
      size -= 0.05;
      form.style.setProperty('--value-size', `${size.toFixed(2)}em`);
    }
  }

  // Beside the results, on a day of 24 hours, the day's lengths as people read them (9 h 21 min),
  // the core's; the results keep their own texts.
  function showReadable() {
    const line = $('readable');
    const lengths = results.filter((r) => r.element.id !== 'lblFull' && r.element.textContent);
    line.hidden = core.read(texts()).solar_day !== '24' || lengths.length === 0;
    line.textContent = line.hidden
      ? ''
      : lengths.map((r) => `${r.caption} ${core.lengthText(r.element.textContent)}`).join(' · ');
  }

  // Emptied at each press.
  function clear() {
    for (const r of results) r.element.textContent = '';
    $('readable').hidden = true;
    announce.textContent = '';
  }

  // The answer of a press: its results, or none where it stopped (the report says why).
  function show(answer) {
    copy.disabled = Boolean(answer.stop);
    if (answer.stop) return;
    for (const r of results) r.element.textContent = answer.results[r.element.id];
    showReadable();
    fitValues();
    announce.textContent = results
      .filter((r) => r.element.textContent !== '')
      .map((r) => `${r.caption}: ${r.element.textContent}`)
      .join(', ');
    if (firstResult === null) {
      firstResult = performance.now() - loaded;
      document.body.dataset.firstResultMs = firstResult.toFixed(1);
    }
  }

  // While a slider moves: the results alone.
  function showQuickly(answer) {
    for (const r of results)
      r.element.textContent = answer.stop ? '' : answer.results[r.element.id];
  }

  copy.addEventListener('click', async () => {
    const lines = results.map((r) => `${r.caption}\t${r.element.textContent}`).join('\n');
    try {
      await navigator.clipboard.writeText(`${lines}\n`);
      copy.textContent = 'Copied';
    } catch {
      copy.textContent = 'Select the values to copy them';
    }
    setTimeout(() => {
      copy.textContent = 'Copy all results';
    }, 2000);
  });

  return { clear, show, showQuickly };
}
