/* Ground truth of the simulated camera, for tests only: the application never
 * calls these. They describe the last frame delivered in live mode (before the
 * first one, the present moment).
 *
 * Usage (the library is loaded by path or linked):
 *   ZorcamSimReloadConfig();                   // read the INI file now
 *   ZorcamSimTruth t;
 *   if (ZorcamSimGetTruth(&t) == 0) ...        // t.poleX, t.starBX, ...
 *   ZorcamSimStar stars[512];
 *   int n = ZorcamSimGetStars(stars, 512);     // all stars, template stars first
 *   ZorcamSimUseClock(&Seconds, &myClock);     // the sky's time from the test's clock
 *
 * Positions are image pixels (x right, y down, whole numbers at pixel centres);
 * angles in degrees, clockwise on the screen positive.
 */
#ifndef ZORCAM_SIM_TRUTH_H
#define ZORCAM_SIM_TRUTH_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ZorcamSimTruth {
    double axisX, axisY;         /* RA axis */
    double poleX, poleY;         /* the pole the stars circle (refracted when on) */
    double truePoleX, truePoleY; /* the true celestial pole, without refraction */
    double starAX, starAY;       /* template star A */
    double starBX, starBY;       /* template star B, the pole star */
    double starDX, starDY;       /* template star D */
    double altErrArcmin;         /* true pole above the RA axis */
    double azErrArcmin;          /* true pole right of the RA axis */
    double rollDeg, raAngleDeg;  /* camera roll, RA turn */
    double skyTurnDeg;           /* turn of the template pattern in the image */
    double arcsecPerPixel;
    double refractionArcmin; /* 0 when refraction is off */
    double exposureUs;       /* of the last frame */
    int gain;
    int hemisphere;  /* 'N' or 'S' */
    int dataSetYear; /* 2016..2024 */
    int starCount;
    unsigned long long frameIndex; /* frames delivered since BeginZORCAMLive */
} ZorcamSimTruth;

typedef struct ZorcamSimStar {
    double x, y;
    double magnitude;
    double peakAdu; /* expected peak above the background in the last frame */
    char label[8];  /* "A", "B", "D", "T1".. for template stars, "" for field stars
                       (the catalogue sky: "C1", "C2".. for its field stars) */
} ZorcamSimStar;

/* 0 on success, non-zero when out is null. */
int ZorcamSimGetTruth(ZorcamSimTruth* out);
/* Writes up to capacity stars and returns how many there are in all. */
int ZorcamSimGetStars(ZorcamSimStar* out, int capacity);
/* Reads the configuration file now. 0 = read (or defaults when there is none),
 * 1 = the file could not be read as INI (the previous configuration stays). */
int ZorcamSimReloadConfig(void);
/* The configuration file in use, zero-terminated in buf; returns its length. */
int ZorcamSimConfigPath(char* buf, int size);
/* The clock the sky's time runs on: seconds(context) on any steady scale (only
 * differences count), read under the simulator's lock; the sky then turns by
 * timeScale simulated seconds per second of that clock. A null function gives the
 * real time back. The sky goes on from where it stands; it does not jump. The
 * function must stay callable until it is taken back (null) or the library is
 * released. Returns 0. */
int ZorcamSimUseClock(double (*seconds)(void* context), void* context);

#ifdef __cplusplus
}
#endif

#endif
