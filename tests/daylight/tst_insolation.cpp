// Sunlight at the top of the air: the daily mean against the integral of the flux over the day
// by quadrature in MPFR, the year's mean against its closed forms, and the Earth's orbit from
// Berger's series against its published values of 1950 and its known periods.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "daylight/insolation.h"

namespace {

using daycalc::SkyInputs;
constexpr double kPi = std::numbers::pi;

// Gauss-Legendre's nodes and weights on [-1, 1] with n points, in long double.
struct Rule {
    std::vector<long double> nodes, weights;
};
Rule Legendre(int n) {
    Rule r;
    for (int i = 0; i < n; ++i) {
        long double x = std::cos(kPi * (i + 0.75L) / (n + 0.5L)), derivative = 0;
        for (int step = 0; step < 50; ++step) {
            long double p0 = 1, p1 = x;
            for (int k = 2; k <= n; ++k) {
                const long double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                p0 = p1, p1 = p2;
            }
            derivative = n * (x * p1 - p0) / (x * x - 1);
            x -= p1 / derivative;
        }
        r.nodes.push_back(x);
        r.weights.push_back(2 / ((1 - x * x) * derivative * derivative));
    }
    return r;
}

// The daily mean by quadrature in MPFR at 160 bits: the sun's declination and distance from the
// orbit angle, the hour angle of sunset as the root of the flux found by halving, and the flux
// S / ρ² · (sin φ sin δ + cos φ cos δ cos H) summed over the hours of daylight by Gauss-Legendre's
// rule, over 2π.
class Oracle {
  public:
    Oracle() : rule_(Legendre(24)) {
        mpfr_inits2(160, a_, b_, x_, y_, h_, low_, high_, sum_, static_cast<mpfr_ptr>(nullptr));
    }
    ~Oracle() {
        mpfr_clears(a_, b_, x_, y_, h_, low_, high_, sum_, static_cast<mpfr_ptr>(nullptr));
    }

    double DailyMean(double s, double latitude, double tilt, double e, double perihelion,
                     double orbitAngle) {
        // sin δ = −sin T cos λ; φ, T, λ in radians at this precision.
        Radians(x_, tilt);
        mpfr_sin(x_, x_, MPFR_RNDN);
        Radians(y_, orbitAngle);
        mpfr_cos(y_, y_, MPFR_RNDN);
        mpfr_mul(x_, x_, y_, MPFR_RNDN);
        mpfr_neg(x_, x_, MPFR_RNDN);  // sin δ
        mpfr_sqr(y_, x_, MPFR_RNDN);
        mpfr_ui_sub(y_, 1, y_, MPFR_RNDN);
        mpfr_sqrt(y_, y_, MPFR_RNDN);  // cos δ
        Radians(h_, latitude);
        mpfr_sin(a_, h_, MPFR_RNDN);
        mpfr_mul(a_, a_, x_, MPFR_RNDN);  // a = sin φ sin δ
        mpfr_cos(b_, h_, MPFR_RNDN);
        if (std::fabs(latitude) == 90) mpfr_set_zero(b_, 1);
        mpfr_mul(b_, b_, y_, MPFR_RNDN);  // b = cos φ cos δ
        // The hour of sunset: where a + b cos H turns from above 0 to below, 0 to π.
        mpfr_set_zero(low_, 1);
        mpfr_const_pi(high_, MPFR_RNDN);
        if (Flux(low_) <= 0) return 0;  // the sun not up even at noon
        if (Flux(high_) >= 0) {
            mpfr_set(low_, high_, MPFR_RNDN);  // the sun not down even at midnight
        } else {
            for (int i = 0; i < 60; ++i) {  // within 3e-18: its error is felt squared
                mpfr_add(h_, low_, high_, MPFR_RNDN);
                mpfr_div_2ui(h_, h_, 1, MPFR_RNDN);
                mpfr_set(Flux(h_) > 0 ? low_ : high_, h_, MPFR_RNDN);
            }
        }
        // The integral over [0, H₀], twice, over 2π, of the flux.
        mpfr_set_zero(sum_, 1);
        const double half = mpfr_get_d(low_, MPFR_RNDN) / 2;
        for (std::size_t i = 0; i < rule_.nodes.size(); ++i) {
            mpfr_set_ld(h_, half * (1 + rule_.nodes[i]), MPFR_RNDN);
            mpfr_cos(h_, h_, MPFR_RNDN);
            mpfr_fma(h_, h_, b_, a_, MPFR_RNDN);
            mpfr_mul_d(h_, h_, double(rule_.weights[i] * half), MPFR_RNDN);
            mpfr_add(sum_, sum_, h_, MPFR_RNDN);
        }
        const double rho = (1 - e * e) / (1 + e * std::cos((orbitAngle - perihelion) * kPi / 180));
        return mpfr_get_d(sum_, MPFR_RNDN) / kPi * s / (rho * rho);
    }

  private:
    void Radians(mpfr_ptr out, double degrees) {
        mpfr_const_pi(out, MPFR_RNDN);
        mpfr_mul_d(out, out, degrees, MPFR_RNDN);
        mpfr_div_ui(out, out, 180, MPFR_RNDN);
    }
    // The sign of a + b cos H.
    int Flux(mpfr_srcptr h) {
        mpfr_cos(y_, h, MPFR_RNDN);
        mpfr_fma(y_, y_, b_, a_, MPFR_RNDN);
        return mpfr_sgn(y_);
    }
    Rule rule_;
    mpfr_t a_, b_, x_, y_, h_, low_, high_, sum_;
};

// At 50,000 points of every latitude, orbit angle, tilt, eccentricity and perihelion, a third of
// them on the edges of the polar day and night (the latitude 90° less the declination, give or
// take a little) and some at the poles and the equator, within the header's bound.
TEST(Insolation, TheDailyMeanIsTheIntegralOfTheFluxOverTheDay) {
    Oracle oracle;
    std::mt19937_64 random(1978);
    std::uniform_real_distribution<double> unit(0, 1);
    double worst = 0;
    for (int i = 0; i < 50000; ++i) {
        const double tilt = 180 * unit(random), angle = 360 * unit(random);
        const double e = 0.99 * unit(random), perihelion = 360 * unit(random);
        double latitude = 180 * unit(random) - 90;
        if (i % 3 == 0) {
            // At the edge: |φ| = 90° − |δ|, moved by up to 1e-3 degrees or not at all.
            const double declination =
                std::asin(-std::sin(tilt * kPi / 180) * std::cos(angle * kPi / 180)) * 180 / kPi;
            const double nudge = i % 2 == 0 ? 0 : 2e-3 * (unit(random) - 0.5);
            latitude = std::clamp((90 - std::fabs(declination) + nudge) * (i % 4 < 2 ? 1 : -1),
                                  -90.0, 90.0);
        }
        if (i % 101 == 0) latitude = i % 202 == 0 ? 90 : 0;
        const double s = 1361;
        const double got = daycalc::DailyMeanAtOrbitAngle(s, latitude, tilt, e, perihelion, angle);
        const double want = oracle.DailyMean(s, latitude, tilt, e, perihelion, angle);
        const double rho = (1 - e * e) / (1 + e * std::cos((angle - perihelion) * kPi / 180));
        const double error = std::fabs(got - want) / (s / (rho * rho));
        worst = std::max(worst, error);
        ASSERT_LE(std::fabs(got - want), 0.01) << latitude << " " << angle << " " << tilt;
        ASSERT_LE(error, 1e-14) << latitude << " " << angle << " " << tilt << " " << e;
    }
    std::printf("worst daily mean error: %.3g of S/rho^2\n", worst);
}

SkyInputs Planet(double tilt, double latitude, double e, double term = 0) {
    return {.tilt = tilt,
            .latitude = latitude,
            .solarDay = 24,
            .year = 365.25,
            .eccentricity = e,
            .perihelion = 0,
            .horizon = 0,
            .step = 1,
            .declinationTerm = term};
}

// The complete elliptic integral of the second kind, E(k), by the arithmetic-geometric mean.
long double EllipticE(long double k) {
    long double a = 1, g = std::sqrt(1 - k * k), c = k, sum = c * c / 2, power = 0.5L;
    while (std::fabs(c) > 1e-19L) {
        const long double next = (a + g) / 2;
        c = (a - g) / 2;
        g = std::sqrt(a * g);
        a = next;
        power *= 2;
        sum += power * c * c;
    }
    return kPi / (2 * a) * (1 - sum);
}

// The year's mean at the poles is S sin T / (π √(1 − e²)) and at the equator
// 2 S E(sin T) / (π² √(1 − e²)), for the Earth of 1950 and a few other planets.
TEST(Insolation, TheYearsMeanAtThePolesAndTheEquatorIsItsClosedForm) {
    const daycalc::EarthOrbit earth = daycalc::EarthOrbitAt(0);
    const struct {
        double tilt, e;
    } planets[] = {{earth.obliquity, earth.eccentricity}, {60, 0.5}, {97.77, 0.0457}, {3, 0.9}};
    for (const auto& p : planets) {
        const double s = 1361, root = std::sqrt(1 - p.e * p.e);
        const double sinT = std::sin(p.tilt * kPi / 180);
        for (const double pole : {90.0, -90.0}) {
            EXPECT_NEAR(daycalc::AnnualMeanFlux(Planet(p.tilt, pole, p.e), s),
                        s * sinT / (kPi * root), 1e-13 * s)
                << p.tilt;
        }
        EXPECT_NEAR(daycalc::AnnualMeanFlux(Planet(p.tilt, 0, p.e), s),
                    double(2 * s * EllipticE(sinT) / (kPi * kPi * root)), 1e-13 * s)
            << p.tilt;
    }
}

// The globe's mean over the year is S / (4 √(1 − e²)) whatever the tilt, the eccentricity and an
// almanac's term of the declination.
TEST(Insolation, TheGlobesMeanOverTheYearIsTheFluxOverFourRootOneLessESquared) {
    std::mt19937 random(4);
    std::uniform_real_distribution<double> tilt(0, 180), e(0, 0.99), term(-5, 5);
    for (int i = 0; i < 200; ++i) {
        const SkyInputs in = Planet(tilt(random), 0, e(random), i % 2 == 0 ? 0 : term(random));
        const double want = 1361 / (4 * std::sqrt(1 - in.eccentricity * in.eccentricity));
        EXPECT_NEAR(daycalc::GlobalMeanFlux(in, 1361) / want, 1, i % 2 == 0 ? 1e-13 : 1e-6)
            << in.tilt << " " << in.eccentricity << " " << in.declinationTerm;
    }
}

// Berger's series give the Earth of 1950 as published: e 0.016724, ε 23.446°, the perihelion
// 102.04° of longitude from the equinox, which is the sky's 12.95° of 2000 carried back at the
// perihelion's advance on the equinox of date, 1.7195°/century (Meeus).
TEST(EarthOrbit, In1950ItIsThePublishedOrbit) {
    const daycalc::EarthOrbit o = daycalc::EarthOrbitAt(0);
    EXPECT_NEAR(o.eccentricity, 0.016724, 1e-4);
    EXPECT_NEAR(o.obliquity, 23.446, 0.005);
    EXPECT_NEAR(o.perihelion, 12.95 - 1.7195269 * 0.5, 0.1);
}

// Over the last million years the orbit stays within its known bounds, and the strongest period
// of each element's spectrum (a discrete Fourier transform of a row a thousand years) is the
// known one: about 23 kyr for the precession, e sin ϖ; 41 for the tilt; 100 for the eccentricity.
TEST(EarthOrbit, ThroughAMillionYearsItKeepsItsBoundsAndPeriods) {
    std::vector<double> e, tilt, precession;
    for (int kyr = -1000; kyr <= 0; ++kyr) {
        const daycalc::EarthOrbit o = daycalc::EarthOrbitAt(kyr);
        ASSERT_GE(o.eccentricity, 0) << kyr;
        ASSERT_LE(o.eccentricity, 0.06) << kyr;
        ASSERT_GE(o.obliquity, 22.0) << kyr;
        ASSERT_LE(o.obliquity, 24.6) << kyr;
        e.push_back(o.eccentricity);
        tilt.push_back(o.obliquity);
        // ϖ = P + 90: e sin ϖ, the precession index.
        precession.push_back(o.eccentricity * std::sin((o.perihelion + 90) * kPi / 180));
    }
    const auto strongestPeriod = [](std::vector<double> x) {
        double mean = 0;
        for (const double v : x) mean += v / double(x.size());
        double best = 0, period = 0;
        // Periods from 10 to 200 thousand years: the orbit's own, below the record's length.
        for (double p = 10; p <= 200; p += 0.25) {
            std::complex<double> sum = 0;
            for (std::size_t k = 0; k < x.size(); ++k) {
                sum += (x[k] - mean) * std::polar(1.0, -2 * kPi * double(k) / p);
            }
            if (std::abs(sum) > best) best = std::abs(sum), period = p;
        }
        return period;
    };
    EXPECT_NEAR(strongestPeriod(precession), 23, 2);
    EXPECT_NEAR(strongestPeriod(tilt), 41, 2);
    EXPECT_NEAR(strongestPeriod(e), 100, 10);
}

}  // namespace
