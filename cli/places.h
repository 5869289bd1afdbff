// The places people live in (some 24,000 cities and towns, with region, country, time zone,
// coordinates and population), from the places file made at build time; none in a build without
// it.
#pragma once

#include "places/places.h"

namespace companion {

// This build's places, read once; none in a build without them.
const places::Gazetteer* Places();

}  // namespace companion
