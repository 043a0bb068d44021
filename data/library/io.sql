-- I/O functions of the I/O configuration dialog, in list order.
--
-- Name      the family keys the function exists on (RHO, TAUI, PHII, PSII);
--           a row belongs to a family when Name contains its key.
-- fullname  the list text: the point, a tab, the function.
-- id        0..256, unique; the dialog keeps the masks by it.
-- Bit       the IOCW bit or bits standing for the function.
-- Kill      the IOCW bits of the functions it excludes, which in turn
--           exclude it; a function that holds two bits flips both.
-- "(1)" refers to the dialog's note on overtravels of inputs 5/6.

CREATE TABLE IO (
  id       INTEGER NOT NULL UNIQUE,
  Name     TEXT    NOT NULL,
  fullname TEXT    NOT NULL,
  Bit      INTEGER NOT NULL,
  Kill     INTEGER NOT NULL DEFAULT 0
);

INSERT INTO IO (id, Name, fullname, Bit, Kill) VALUES
-- RHO: inputs 1-8, outputs 1-12
  ( 1, 'RHO',            'IN 1'   || char(9) || 'Home switch',                   1,    0),
  ( 2, 'RHO',            'IN 2,3' || char(9) || 'Forward/reverse overtravel',    6,    0),
  ( 3, 'RHO',            'IN 4'   || char(9) || 'Pause the program',             8,    16),
  ( 4, 'RHO',            'IN 4'   || char(9) || 'Registration input',            16,   8),
  ( 5, 'RHO',            'IN 5'   || char(9) || 'Fault reset',                   32,   0),
  ( 6, 'RHO',            'OUT 1'  || char(9) || 'Drive OK',                      64,   128),
  ( 7, 'RHO',            'OUT 1'  || char(9) || 'Brake release',                 128,  64),
  ( 8, 'RHO',            'OUT 2'  || char(9) || 'In position',                   256,  0),
  ( 9, 'RHO',            'OUT 3'  || char(9) || 'Current foldback',              512,  0),
-- TAU, PHI and PSI: input 1 is the enable input
  (20, 'TAUI PHII PSII', 'IN 3'   || char(9) || 'Home switch',                   1,    0),
  (21, 'TAUI PHII PSII', 'IN 5,6' || char(9) || 'Forward/reverse overtravel (1)', 6,   0),
  (22, 'TAUI PHII PSII', 'IN 4'   || char(9) || 'Pause the program',             8,    16),
  (23, 'TAUI PHII PSII', 'IN 4'   || char(9) || 'Registration input',            16,   8),
  (24, 'TAUI PHII PSII', 'OUT 1'  || char(9) || 'In position',                   32,   64),
  (25, 'TAUI PHII PSII', 'OUT 1'  || char(9) || 'Brake release',                 64,   32),
  (26, 'TAUI',           'IN 7'   || char(9) || 'Quick stop',                    128,  0),
  (27, 'PHII PSII',      'IN 7'   || char(9) || 'Jog forward',                   128,  256),
  (28, 'PHII PSII',      'IN 7'   || char(9) || 'Analog command select',         256,  128),
  (29, 'PSII',           'IN 8,9' || char(9) || 'Step/direction inputs',         1536, 0);
