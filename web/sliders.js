// Sliders for the tilt, the latitude and the eccentricity. While one moves, each animation frame
// shows what it touches (`slide`, told whether the value is the sky's); where it is let go, the
// whole press follows once the slider rests.
const $ = (id) => document.getElementById(id);

export function makeSliders({ boxOf, moved, slide, press }) {
  let settling = null;
  const sliders = [
    { slider: $('tilt-slider'), box: () => boxOf('tilt').element, unit: ' degrees' },
    { slider: $('latitude-slider'), box: () => boxOf('latitude').element, unit: ' degrees' },
    { slider: $('eccentricity-slider'), box: () => $('eccentricity'), sky: true, unit: '' },
  ];
  // A slider says its value with its unit ("23.5 degrees").
  const sayValue = ({ slider, unit }) =>
    slider.setAttribute('aria-valuetext', `${slider.value}${unit}`);
  for (const { slider, box, sky, unit } of sliders) {
    sayValue({ slider, unit });
    slider.addEventListener('input', () => {
      sayValue({ slider, unit });
      box().value = slider.value;
      moved();
      slide(Boolean(sky));
    });
    // Let go (or an arrow key's step), the whole press follows once the slider rests.
    slider.addEventListener('change', () => {
      clearTimeout(settling);
      settling = setTimeout(press, 250);
    });
  }
  // The sliders stand where the boxes' numbers put them, as far as they reach.
  return function placeSliders() {
    for (const s of sliders) {
      const at = Number(s.box().value);
      if (s.box().value.trim() !== '' && Number.isFinite(at)) s.slider.value = String(at);
      sayValue(s);
    }
  };
}
