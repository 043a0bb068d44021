-- Event types. The drive keeps event lines in upper case, so the prototypes
-- are upper case, and the event decoder takes the first match in this order
-- without escaping "[": no prototype holds "[", "?", "#" or "*".
-- "IF ~1 DO ~2" stands before "IF ~1 GS ~2" so that a command operand such
-- as "GS L1" stays whole. Every prototype begins with a literal, so the "0"
-- that an application axis holds for a missing event matches none.

CREATE TABLE Threads (
  id        INTEGER NOT NULL UNIQUE,
  des       TEXT    NOT NULL,
  GUI       TEXT    NOT NULL,
  Prototype TEXT    NOT NULL,
  P1        TEXT,
  P2        TEXT
);

INSERT INTO Threads (id, des, GUI, Prototype, P1, P2) VALUES
  (1, 'On a condition, run a command',    'If ~1 then do ~2',                 'IF ~1 DO ~2',     'Condition',    'Command'),
  (2, 'On a condition, call a routine',   'If ~1 then call ~2',               'IF ~1 GS ~2',     'Condition',    'Label'),
  (3, 'On a condition, stop the motion',  'If ~1 then stop the motion',       'IF ~1 STOP',      'Condition',    NULL),
  (4, 'When an input turns on, call',     'When input ~1 turns on, call ~2',  'ON IN~1 GS ~2',   'Input',        'Label'),
  (5, 'When an input turns off, call',    'When input ~1 turns off, call ~2', 'OFF IN~1 GS ~2',  'Input',        'Label'),
  (6, 'At a position, run a command',     'At ~1 ~u do ~2',                   'AT ~1 DO ~2',     'Position',     'Command'),
  (7, 'Periodically, run a command',      'Every ~1 sec do ~2',               'EVERY ~1 DO ~2',  'Period (sec)', 'Command'),
  (8, 'On a fault, call a routine',       'On a fault, call ~1',              'FAULT GS ~1',     'Label',        NULL),
  (9, 'On a fault, run a command',        'On a fault, do ~1',                'FAULT DO ~1',     'Command',      NULL);
