// The sky's values the core checks (the orbit's, the horizon, and the place's for a date): each
// one it cannot use is marked, with the core's reason beside it, as the calculator marks its
// boxes.
const $ = (id) => document.getElementById(id);

// The sky's values the core checks, each a control of that id, by the field the core names.
const kCheckedControls = {
  eccentricity: 'eccentricity',
  perihelion: 'perihelion',
  horizon: 'horizon',
  longitude: 'longitude',
  utc_offset: 'utc-offset',
};

// What the sky says in place of a figure or a day while a value is marked.
export const kMarked = 'The sky cannot use a value marked above: change it, and the sky follows.';

// The check, given the core: {sky, dated}, whether the sky, and a date's day, can use the values.
export function makeSkyValues(core) {
  return function checkValues() {
    const why = core.skyValues(
      Object.fromEntries(Object.entries(kCheckedControls).map(([f, id]) => [f, $(id).value])),
    );
    for (const [field, id] of Object.entries(kCheckedControls)) {
      const control = $(id);
      let reason = $(`${id}-why`);
      if (reason === null) {
        reason = document.createElement('span');
        reason.id = `${id}-why`;
        reason.className = 'value-why';
        control.after(reason);
      }
      const bad = why[field] !== undefined;
      reason.textContent = bad ? `${why[field][0].toUpperCase()}${why[field].slice(1)}.` : '';
      reason.hidden = !bad;
      if (bad) {
        control.setAttribute('aria-invalid', 'true');
        control.setAttribute('aria-describedby', reason.id);
      } else {
        control.removeAttribute('aria-invalid');
        control.removeAttribute('aria-describedby');
      }
    }
    const orbit = ['eccentricity', 'perihelion', 'horizon'];
    return {
      sky: orbit.every((f) => why[f] === undefined),
      dated: Object.keys(why).length === 0,
    };
  };
}
