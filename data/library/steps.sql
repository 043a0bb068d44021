-- Step types of a motion program. The decoder takes the first record whose
-- Prototype matches a drive line, so the order below is part of the data:
--   * "MA ~1" stands before "MA ~1,~2": only the comma keeps them apart;
--   * "!TBL[~1]=~2" stands before the general "!~1=~2", which would take it;
--   * "!TRK=~1" and "!SWE=~1" stand after "!~1=~2": lines beginning "!TRK"
--     or "!SWE" are kept away from two-operand prototypes by the decoder;
--   * "OS~1" and "OC~1" take an output list with commas ("OS1,2,5");
--   * the label "~1:" comes last, since its pattern takes any line ending ":".
-- Prototype: the drive text; GUI: the display text ("~u" = program units).
-- P1, P2: the operand descriptors the step editor captions and checks.
-- Prototypes hold no "?", "#" or "*": they would match as patterns.

CREATE TABLE Steps (
  id        INTEGER NOT NULL UNIQUE,
  Typ       TEXT    NOT NULL,
  des       TEXT    NOT NULL,
  GUI       TEXT    NOT NULL,
  Prototype TEXT    NOT NULL,
  P1        TEXT,
  P2        TEXT
);

INSERT INTO Steps (id, Typ, des, GUI, Prototype, P1, P2) VALUES
  ( 1, 'Motion',       'Move to a position',           'Move to ~1 ~u',                     'MA ~1',        'Position',              NULL),
  ( 2, 'Motion',       'Move to a position at a speed', 'Move to ~1 ~u at ~2 ~u/sec',        'MA ~1,~2',     'Position',              'Speed'),
  ( 3, 'Motion',       'Move by a distance',           'Move by ~1 ~u',                     'MR ~1',        'Relative Position',     NULL),
  ( 4, 'Motion',       'Move by a distance at a speed', 'Move by ~1 ~u at ~2 ~u/sec',        'MR ~1,~2',     'Relative Position',     'Speed'),
  ( 5, 'Motion',       'Home the axis',                'Home the axis',                     'HOME',         NULL,                    NULL),
  ( 6, 'Motion',       'Jog at a velocity',            'Jog at ~1 ~u/sec',                  'JOG ~1',       'Velocity',              NULL),
  ( 7, 'Motion',       'Ramp to a velocity',           'Ramp to ~1 ~u/sec at ~2 ~u/sec²',   'RV ~1,~2',     'Final Velocity',        'Acceleration'),
  ( 8, 'Motion',       'Stop the motion',              'Stop the motion',                   'STOP',         NULL,                    NULL),
  ( 9, 'Motion',       'Set the speed',                'Speed = ~1 ~u/sec',                 'SPD ~1',       'Speed',                 NULL),
  (10, 'Motion',       'Set the acceleration',         'Acceleration = ~1 ~u/sec²',         'ACL ~1',       'Acceleration',          NULL),
  (11, 'Motion',       'Set the deceleration',         'Deceleration = ~1 ~u/sec²',         'DCL ~1',       'Stopping Acceleration', NULL),
  (12, 'Motion',       'Set the position to zero',     'Set the position to zero',          'ZP',           NULL,                    NULL),
  (13, 'Wait',         'Wait for a time',              'Wait ~1 sec',                       'WT ~1',        'Time (sec)',            NULL),
  (14, 'Wait',         'Wait for the motion to end',   'Wait for the motion to end',        'WM',           NULL,                    NULL),
  (15, 'Wait',         'Wait for a condition',         'Wait until ~1',                     'WU ~1',        'Condition',             NULL),
  (16, 'Wait',         'Wait for an input',            'Wait for input ~1 = ~2',            'WI ~1,~2',     'Input',                 'State (0/1)'),
  (17, 'Jump and Call','Go to a label',                'Go to ~1',                          'GO ~1',        'Label',                 NULL),
  (18, 'Jump and Call','Call a subroutine',            'Call ~1',                           'GS ~1',        'Label',                 NULL),
  (19, 'Jump and Call','Go to a label if',             'If ~1 go to ~2',                    'IF ~1 GO ~2',  'Condition',             'Label'),
  (20, 'Jump and Call','Call a subroutine if',         'If ~1 call ~2',                     'IF ~1 GS ~2',  'Condition',             'Label'),
  (21, 'Jump and Call','Return from a subroutine',     'Return',                            'RET',          NULL,                    NULL),
  (22, 'Jump and Call','End the program',              'End',                               'END',          NULL,                    NULL),
  (23, 'Outputs',      'Turn outputs on',              'Output(s) ~1 on',                   'OS~1',         'Output',                NULL),
  (24, 'Outputs',      'Turn outputs off',             'Output(s) ~1 off',                  'OC~1',         'Output',                NULL),
  (25, 'Outputs',      'Pulse an output',              'Pulse output ~1 for ~2 sec',        'OP ~1,~2',     'Output',                'Time (sec)'),
  (26, 'Variables',    'Set a table entry',            'Table [~1] = ~2',                   '!TBL[~1]=~2',  'Table Index',           'Value'),
  (27, 'Variables',    'Set a variable',               '~1 = ~2',                           '!~1=~2',       'Variable',              'Value'),
  (28, 'Variables',    'Count a variable up',          'Increment ~1',                      'INC ~1',       'Variable',              NULL),
  (29, 'Variables',    'Count a variable down',        'Decrement ~1',                      'DCR ~1',       'Variable',              NULL),
  (30, 'Events',       'Switch an event on',           'Enable event ~1',                   'UTE,~1',       'Event (0-9)',           NULL),
  (31, 'Events',       'Switch an event off',          'Disable event ~1',                  'UTD,~1',       'Event (0-9)',           NULL),
  (32, 'Drive',        'Set the tracking ratio',       'Tracking ratio = ~1',               '!TRK=~1',      'Tracking Ratio',        NULL),
  (33, 'Drive',        'Software enable on or off',    'Software enable = ~1',              '!SWE=~1',      'Enable (0/1)',          NULL),
  (34, 'Drive',        'Show a message',               'Show "~1"',                         'MSG ~1',       'Text',                  NULL),
  (35, 'Drive',        'Clear the faults',             'Clear the faults',                  'FC',           NULL,                    NULL),
  (36, 'Label',        'Label',                        '~1:',                               '~1:',          'Label',                 NULL);
