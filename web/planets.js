// The planets: choosing one fills its boxes and presses; changing one of them by hand makes the
// planet your own again. The planets and their texts are the core's.
export function makePlanets(core, boxes, picker, chosen) {
  const planets = core.planets();
  for (const p of planets) {
    const option = document.createElement('option');
    option.value = p.name;
    option.textContent = p.name[0].toUpperCase() + p.name.slice(1);
    picker.append(option);
  }
  // Fills the boxes of the planet of that name, where there is one.
  function fill(name) {
    const planet = planets.find((p) => p.name === name.toLowerCase());
    picker.value = planet ? planet.name : '';
    if (!planet) return;
    for (const b of boxes) if (b.field in planet.texts) b.element.value = planet.texts[b.field];
    document.getElementById('eccentricity').value = planet.eccentricity;
    document.getElementById('perihelion').value = planet.perihelion;
  }
  // The planet stays chosen while its boxes hold its texts.
  function keep() {
    const planet = planets.find((p) => p.name === picker.value);
    if (
      planet &&
      boxes.some((b) => b.field in planet.texts && b.element.value !== planet.texts[b.field])
    ) {
      picker.value = '';
    }
  }
  picker.addEventListener('change', () => {
    fill(picker.value);
    chosen();
  });
  for (const b of boxes) b.element.addEventListener('input', keep);
  return { fill, keep, name: () => picker.value };
}
