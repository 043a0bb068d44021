-- Drive parameters and variables, in the order the parameter views, the
-- reports and the parameter copies walk them.
--
-- DT      category: SU Modes, SM Motor, SF Feedback, SC Command, TU Tuning
--         (the five tree nodes), MO monitored values and OT program settings
--         (never shown as a view, but copied and reported like the others).
-- Type    the drive families the parameter exists on (substring test).
-- Format  a display picture beginning "#", or an enumeration code
--         "1" motor type, "2" enable source, "3" command mode, "4" analog or
--         digital, "5" inactive or active, "10" feedback device,
--         "11" encoder filter, "12" stepper loop, "13" hold current ratio.
-- rw      "N" for values the drive only reports; NULL when writable.
-- units   NULL when the value has none.

CREATE TABLE Parameters (
  id       INTEGER NOT NULL UNIQUE,
  DT       TEXT    NOT NULL,
  Type     TEXT    NOT NULL,
  Name     TEXT    NOT NULL UNIQUE,
  fullname TEXT    NOT NULL,
  Format   TEXT    NOT NULL,
  units    TEXT,
  rw       TEXT
);

INSERT INTO Parameters (id, DT, Type, Name, fullname, Format, units, rw) VALUES
-- Modes
  (  1, 'SU', 'RHO TAU PHI PSI', 'CM',   'Command Mode',                '3',            NULL,        NULL),
  (  2, 'SU', 'RHO TAU PHI PSI', 'DCM',  'Command Source',              '4',            NULL,        NULL),
  (  3, 'SU', 'RHO TAU PHI PSI', 'EM',   'Enable Source',               '2',            NULL,        NULL),
  (  4, 'SU', 'RHO TAU PHI PSI', 'SWE',  'Software Enable',             '5',            NULL,        NULL),
  (  5, 'SU', 'RHO TAU PHI',     'REAL', 'Real-Time Current',           '5',            NULL,        NULL),
  (  6, 'SU', 'RHO TAU PHI PSI', 'IOCW', 'I/O Configuration Word',      '#########0',   NULL,        NULL),
  (  7, 'SU', 'PSI',             'LOOP', 'Stepper Loop Mode',           '12',           NULL,        NULL),
-- Motor
  ( 20, 'SM', 'RHO TAU PHI',     'DM',   'Motor Type',                  '1',            NULL,        NULL),
  ( 21, 'SM', 'RHO TAU PHI',     'MPOL', 'Motor Pole Count',            '##0',          NULL,        NULL),
  ( 22, 'SM', 'RHO TAU PHI',     'INER', 'Total Inertia',               '##0.########', 'kg-m²',     NULL),
  ( 23, 'SM', 'RHO TAU PHI',     'KT',   'Torque Constant',             '##0.000',      'Nm/A',      NULL),
  ( 24, 'SM', 'RHO TAU PHI',     'IRMS', 'Rated Current',               '###0.0',       'A RMS',     NULL),
  ( 25, 'SM', 'RHO TAU PHI',     'IMAX', 'Peak Current Limit',          '###0.0',       'A',         NULL),
  ( 26, 'SM', 'RHO TAU PHI',     'MRES', 'Motor Resistance',            '##0.000',      'Ohms',      NULL),
  ( 27, 'SM', 'RHO TAU PHI',     'BSPD', 'Base Speed',                  '####0.0',      'RPM',       NULL),
  ( 28, 'SM', 'RHO TAU PHI',     'MIND', 'Mutual Inductance',           '##0.###',      'H',         NULL),
  ( 29, 'SM', 'RHO TAU PHI',     'RRES', 'Rotor Resistance',            '##0.####',     'Ohms',      NULL),
  ( 30, 'SM', 'RHO TAU PHI',     'RFLX', 'Rated Flux',                  '##0.####',     'Wb',        NULL),
  ( 31, 'SM', 'RHO TAU PHI',     'MFLX', 'Minimum Flux',                '##0.####',     'Wb',        NULL),
  ( 32, 'SM', 'RHO TAU PHI',     'COFF', 'Commutation Offset',          '#####0',       'counts',    NULL),
  ( 33, 'SM', 'RHO TAU PHI PSI', 'OSPD', 'Overspeed Limit',             '#####0',       'RPM',       NULL),
  ( 34, 'SM', 'PSI',             'MRSN', 'Motor Resolution',            '#####0',       'steps/rev', NULL),
  ( 35, 'SM', 'PSI',             'MCSV', 'Midband Comp. Start',         '###0.00',      'RPM',       NULL),
  ( 36, 'SM', 'PSI',             'IKP',  'Current Loop P Gain',         '####0.0',      NULL,        NULL),
  ( 37, 'SM', 'PSI',             'MCG',  'Midband Compensation Gain',   '##0.0',        NULL,        NULL),
  ( 38, 'SM', 'PSI',             'IC',   'Rated Current',               '##0.00',       'A RMS',     NULL),
  ( 39, 'SM', 'PSI',             'IP',   'Peak Current',                '##0.00',       'A',         NULL),
  ( 40, 'SM', 'PSI',             'THC',  '3rd Harmonic Compensation',   '###0.0',       NULL,        NULL),
  ( 41, 'SM', 'PSI',             'HCR',  'Hold Current Ratio',          '13',           NULL,        NULL),
-- Feedback
  ( 50, 'SF', 'RHO TAU PHI',     'FEED', 'Feedback Device',             '10',           NULL,        NULL),
  ( 51, 'SF', 'RHO TAU PHI PSI', 'EPPR', 'Encoder Resolution',          '####0',        'PPR',       NULL),
  ( 52, 'SF', 'RHO TAU PHI',     'RPOL', 'Resolver Pole Count',         '####0',        NULL,        NULL),
  ( 53, 'SF', 'RHO TAU PHI PSI', 'FBS',  'Tachometer Scale',            '####0.###',    'V/kRPM',    NULL),
  ( 54, 'SF', 'RHO TAU PHI PSI', 'FBF',  'Feedback Filter',             '#####0',       'Hz',        NULL),
  ( 55, 'SF', 'TAU PHI PSI',     'EFIL', 'Encoder Input Filter',        '11',           NULL,        NULL),
-- Command
  ( 60, 'SC', 'RHO TAU PHI PSI', 'FSV',  'Full Scale Velocity',         '####0.0',      'RPM',       NULL),
  ( 61, 'SC', 'RHO TAU PHI PSI', 'DCV',  'Digital Velocity Command',    '#####0.0',     'RPM',       NULL),
  ( 62, 'SC', 'RHO TAU PHI',     'DCC',  'Digital Current Command',     '##0.00',       'A',         NULL),
  ( 63, 'SC', 'RHO TAU PHI PSI', 'ACC',  'Acceleration',                '######0.0',    'RPM/sec',   NULL),
  ( 64, 'SC', 'RHO TAU PHI PSI', 'DEC',  'Deceleration',                '######0.0',    'RPM/sec',   NULL),
  ( 65, 'SC', 'RHO TAU PHI PSI', 'SPPR', 'Step Input Pulses per Rev',   '#####0',       'pulses',    NULL),
  ( 66, 'SC', 'RHO TAU PHI PSI', 'PET',  'Position Error Tolerance',    '##0.####',     'rev',       NULL),
  ( 67, 'SC', 'RHO TAU PHI PSI', 'TRK',  'Tracking Ratio',              '##0.####',     NULL,        NULL),
-- Tuning
  ( 80, 'TU', 'RHO TAU PHI',     'KP',   'Proportional Gain',           '##0.######',   NULL,        NULL),
  ( 81, 'TU', 'RHO TAU PHI',     'KI',   'Integral Gain',               '###0.#####',   NULL,        NULL),
  ( 82, 'TU', 'RHO TAU PHI',     'KF',   'Velocity Feed-Forward',       '#0.00',        NULL,        NULL),
  ( 83, 'TU', 'RHO TAU PHI',     'PPG',  'Position Loop Gain',          '##0.000',      NULL,        NULL),
  ( 84, 'TU', 'RHO TAU PHI PSI', 'VFF',  'Velocity Filter Frequency',   '####0',        'Hz',        NULL),
  ( 85, 'TU', 'RHO TAU PHI PSI', 'VFI',  'Velocity Filter Order',       '#0',           NULL,        NULL),
  ( 86, 'TU', 'TAU PHI',         'IKPQ', 'Current Loop Gain (Q)',       '#####0',       NULL,        NULL),
  ( 87, 'TU', 'TAU PHI',         'IKPD', 'Current Loop Gain (D)',       '#####0',       NULL,        NULL),
  ( 88, 'TU', 'TAU PHI',         'CDLY', 'Current Loop Delay',          '#####0',       'us',        NULL),
  ( 89, 'TU', 'TAU PHI',         'RGNL', 'Regeneration Limit',          '#####0',       'W',         NULL),
  ( 90, 'TU', 'TAU PHI',         'RGNI', 'Regeneration Interval',       '##0',          'ms',        NULL),
-- Monitored values
  (100, 'MO', 'RHO TAU PHI PSI', 'TPOS', 'Target Position',             '######0.0000', 'user units',     'N'),
  (101, 'MO', 'RHO TAU PHI PSI', 'RUNV', 'Target Velocity',             '######0.00',   'user units/sec', 'N'),
  (102, 'MO', 'RHO TAU PHI PSI', 'FPOS', 'Feedback Position',           '######0.0000', 'user units',     'N'),
  (103, 'MO', 'RHO TAU PHI PSI', 'VEL',  'Motor Velocity',              '#####0.0',     'RPM',       'N'),
  (104, 'MO', 'RHO TAU PHI PSI', 'THET', 'Feedback Angle',              '####0',        'counts',    'N'),
  (105, 'MO', 'RHO TAU PHI PSI', 'IRA',  'Motor Current',               '##0.00',       'amps',      'N'),
  (106, 'MO', 'RHO TAU PHI PSI', 'IREF', 'Current Reference',           '####0',        NULL,        'N'),
  (107, 'MO', 'RHO TAU PHI PSI', 'ADC1', 'Analog Input',                '##0.000',      'volts',     'N'),
  (108, 'MO', 'RHO TAU PHI PSI', 'TPS',  'Tasks per Second',            '#####0.0',     NULL,        'N'),
  (109, 'MO', 'RHO TAU PHI PSI', 'TDPS', 'Events per Second',           '#####0.0',     NULL,        'N'),
  (110, 'MO', 'RHO TAU PHI PSI', 'FLT',  'Present Faults',              '#########0',   NULL,        'N'),
  (111, 'MO', 'RHO TAU PHI PSI', 'RERR', 'Run-Time Fault Code',         '#####0',       NULL,        'N'),
  (112, 'MO', 'RHO TAU PHI PSI', 'IN',   'Input States',                '####0',        NULL,        'N'),
  (113, 'MO', 'RHO TAU PHI PSI', 'IN0',  'Inputs Forced Off',           '####0',        NULL,        NULL),
  (114, 'MO', 'RHO TAU PHI PSI', 'IN1',  'Inputs Forced On',            '####0',        NULL,        NULL),
  (115, 'MO', 'RHO TAU PHI PSI', 'OUT',  'Output States',               '####0',        NULL,        'N'),
  (116, 'MO', 'RHO TAU PHI PSI', 'OUT0', 'Outputs Forced Off',          '####0',        NULL,        NULL),
  (117, 'MO', 'RHO TAU PHI PSI', 'OUT1', 'Outputs Forced On',           '####0',        NULL,        NULL),
-- Settings of the active program and of the library edit buffer
  (120, 'OT', 'RHO TAU PHI PSI', 'TR',   'Transmission Ratio',          '##0.######',   'motor rev/unit', NULL),
  (121, 'OT', 'RHO TAU PHI PSI', 'UU',   'Position Units Index',        '#0',           NULL,        NULL),
  (122, 'OT', 'RHO TAU PHI PSI', 'TTR',  'Library Transmission Ratio',  '##0.######',   'motor rev/unit', NULL),
  (123, 'OT', 'RHO TAU PHI PSI', 'TUU',  'Library Position Units Index','#0',           NULL,        NULL);
