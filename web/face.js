// The calculator's face, built from the core's own table: frames, boxes, results, the button and
// the stepped rule, placed in the window's twips and in its tab order.
const $ = (id) => document.getElementById(id);
// A length in the face's twips: --twip is the form's em over 240, the window's 15 twips to the
// pixel at a 16 pixel em.
const em = (twips) => `calc(var(--twip) * ${twips})`;
// The longest text a box takes, as in the window.
const kLongestBoxText = 32767;

// The face: frames, boxes, results, the button and the rule, placed as in the window. Frames
// go into the page in the order of the first focusable thing they hold, so that Tab goes
// through the boxes in the window's order.
export function buildFace(face) {
  const form = $('Form1');
  form.style.width = em(face.width);
  form.style.height = em(face.height);
  const byName = new Map(face.controls.map((c) => [c.name, c]));
  const firstTab = (c) =>
    Math.min(
      ...face.controls
        .filter((d) => d.name === c.name || d.container === c.name)
        .filter((d) => d.kind === 'textbox' || d.kind === 'button')
        .map((d) => d.tabIndex),
      1000 + c.tabIndex,
    );
  const placed = new Map([['Form1', form]]);
  const order = [...face.controls].sort((a, b) => {
    const depth = (c) => (c.container === 'Form1' ? 0 : 1);
    return depth(a) - depth(b) || firstTab(a) - firstTab(b);
  });
  const boxes = [];
  for (const c of order) {
    let element;
    if (c.kind === 'frame') {
      element = document.createElement('fieldset');
      element.className = 'frame';
      const legend = document.createElement('legend');
      legend.textContent = c.caption;
      element.append(legend);
    } else if (c.kind === 'textbox') {
      element = document.createElement('input');
      element.value = c.caption;
      element.autocomplete = 'off';
      element.maxLength = kLongestBoxText;
      element.spellcheck = false;
      element.setAttribute('aria-label', byName.get(c.container).caption);
      boxes.push({
        element,
        field: c.field,
        option: c.option,
        caption: byName.get(c.container).caption,
      });
    } else if (c.kind === 'label') {
      element = document.createElement('output');
      element.setAttribute('aria-label', byName.get(c.container).caption);
      // An output is a live region of its own; the page's announcer says a press's results once.
      element.setAttribute('aria-live', 'off');
    } else {
      element = document.createElement('button');
      element.type = 'button';
      element.textContent = c.caption;
    }
    element.id = c.name;
    if (c.tip) element.title = c.tip;
    Object.assign(element.style, {
      left: em(c.left),
      top: em(c.top),
      width: em(c.width),
      height: em(c.height),
    });
    placed.get(c.container).append(element);
    placed.set(c.name, element);
  }
  for (const l of face.lines) form.append(ruleOf(l));
  fitCaptions(form);
  // The results in the window's order, which Copy All lists.
  const results = face.resultsInOrder.map((name) => ({
    element: $(name),
    caption: byName.get(byName.get(name).container).caption,
  }));
  // A box by the field of the input it holds.
  const boxOf = (field) => boxes.find((b) => b.field === field);
  return { boxes, boxOf, results, face };
}

// A line of the stepped rule, as a thin box over its length.
function ruleOf(l) {
  const rule = document.createElement('div');
  rule.className = 'rule';
  rule.id = l.name;
  rule.setAttribute('aria-hidden', 'true');
  Object.assign(rule.style, {
    left: em(Math.min(l.x1, l.x2)),
    top: em(Math.min(l.y1, l.y2)),
    width: `calc(${em(Math.abs(l.x2 - l.x1))} + 2px)`,
    height: `calc(${em(Math.abs(l.y2 - l.y1))} + 2px)`,
  });
  return rule;
}

// A caption that would not fit its frame whole is set smaller, as in the window.
function fitCaptions(form) {
  for (const legend of form.querySelectorAll('legend')) {
    const room = legend.parentElement.clientWidth - 16;
    for (let size = 0.8; legend.offsetWidth > room && size > 0.5; size -= 0.025) {
      legend.style.fontSize = `${size}em`;
    }
  }
}

export { em };
