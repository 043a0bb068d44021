-- Motor catalogue of the setup wizards, listed in this order.
--
-- Type      BL brushless, BI brushless with encoder only, B6 brushless with
--           Hall sensors only, BR DC brush, IN induction, ST stepper.
-- APN       the motor's name (the wizards seek by it).
-- feedback  R resolver, Y encoder with commutation tracks, E encoder,
--           N no encoder (tachometer or open loop).
--
-- The numeric fields by Type:
--   field    BL / BI / B6           BR                  IN                   ST
--   inertia  kg-m²                  kg-m²               kg-m²                -
--   kt_bspd  torque const. Nm/A     torque const. Nm/A  base speed RPM       -
--   P1       -                      resistance Ohms     mutual induct. H     3rd harmonic comp.
--   P2       commutation offset     -                   rotor resist. Ohms   current loop P gain
--   p3       current loop gain      -                   rated flux Wb        -
--   p4       -                      -                   minimum flux Wb      midband comp. gain
--   p5       -                      -                   -                    midband start RPM
--   ic       rated current A RMS    rated current       rated current        rated current
--   feedp    encoder PPR, resolver  tach V/kRPM         encoder PPR          encoder PPR, 0 none
--            pole count
--   mpol     pole count             2                   pole count           steps per rev
-- A field a type does not use holds 0, never NULL.

CREATE TABLE Motors (
  Type     TEXT NOT NULL,
  APN      TEXT NOT NULL,
  inertia  REAL NOT NULL DEFAULT 0,
  kt_bspd  REAL NOT NULL DEFAULT 0,
  P1       REAL NOT NULL DEFAULT 0,
  P2       REAL NOT NULL DEFAULT 0,
  p3       REAL NOT NULL DEFAULT 0,
  p4       REAL NOT NULL DEFAULT 0,
  p5       REAL NOT NULL DEFAULT 0,
  ic       REAL NOT NULL DEFAULT 0,
  feedp    INTEGER NOT NULL DEFAULT 0,
  mpol     INTEGER NOT NULL DEFAULT 0,
  feedback TEXT NOT NULL
);

CREATE UNIQUE INDEX APN ON Motors (APN);

INSERT INTO Motors (Type, APN, inertia, kt_bspd, P1, P2, p3, p4, p5, ic, feedp, mpol, feedback) VALUES
  ('BL', 'SM-23-05-Y',  0.0000120, 0.045,  0,     0,    4000, 0,    0,  2.1,  2000, 4,   'Y'),
  ('BL', 'SM-34-10-Y',  0.000110,  0.210,  0,     30,   5000, 0,    0,  4.6,  4096, 6,   'Y'),
  ('BL', 'SM-34-14-R',  0.000180,  0.290,  0,     90,   5500, 0,    0,  6.0,  2,    6,   'R'),
  ('BL', 'SM-55-40-R',  0.00120,   0.620,  0,     120,  6500, 0,    0,  11.5, 2,    8,   'R'),
  ('BI', 'SE-23-06-E',  0.0000150, 0.060,  0,     0,    4500, 0,    0,  2.5,  1024, 4,   'E'),
  ('BI', 'SE-42-20-E',  0.000420,  0.380,  0,     0,    6000, 0,    0,  7.8,  2500, 8,   'E'),
  ('B6', 'SH-42-12-E',  0.000350,  0.330,  0,     0,    5000, 0,    0,  5.2,  1000, 8,   'E'),
  ('BR', 'DC-33-10-N',  0.0000900, 0.110,  1.80,  0,    0,    0,    0,  3.0,  7,    2,   'N'),
  ('BR', 'DC-40-25-N',  0.000310,  0.190,  0.65,  0,    0,    0,    0,  6.5,  14,   2,   'N'),
  ('IN', 'AC-13-75-E',  0.00350,   1750,   0.085, 0.62, 0.58, 0.12, 0,  7.5,  2048, 4,   'E'),
  ('IN', 'AC-20-150-E', 0.00820,   1460,   0.120, 0.41, 0.71, 0.15, 0,  14.0, 4096, 4,   'E'),
  ('ST', 'ST-17-03-N',  0,         0,      0,     1.5,  0,    0.5,  60, 1.7,  0,    200, 'N'),
  ('ST', 'ST-23-08-E',  0,         0,      2.0,   2.0,  0,    1.0,  45, 2.8,  1000, 200, 'E'),
  ('ST', 'ST-34-30-E',  0,         0,      3.5,   3.0,  0,    1.5,  30, 4.2,  2000, 400, 'E');
