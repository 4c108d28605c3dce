-- The results database "Results.db": solved power-flow cases of the networks
-- saved into it, the stored queries the program calls by name, and the three
-- colour maps read at start-up. The program creates a missing database from
-- this script; `sqlite3 Results.db < results_schema.sql` does the same by hand.
BEGIN TRANSACTION;

-- One row per network, found again by its document title.
CREATE TABLE Systems (
  ID   INTEGER PRIMARY KEY,
  Name TEXT NOT NULL
);
CREATE INDEX SystemsByName ON Systems (Name);

-- One row per saved case of a system; ID counts from 1 within the system.
CREATE TABLE Solutions (
  SystemID    INTEGER NOT NULL,
  ID          INTEGER NOT NULL,
  Description TEXT,
  PRIMARY KEY (SystemID, ID)
);

-- The buses and branches of a system as they were when it was first saved.
-- Bus numbers and branch keys are not declared unique: the rows are written
-- as the network hands them over.
CREATE TABLE Buses (
  SystemID INTEGER NOT NULL,
  ID       INTEGER NOT NULL,
  Name     TEXT
);
CREATE INDEX BusesOfSystem ON Buses (SystemID, ID);

CREATE TABLE Branches (
  SystemID INTEGER NOT NULL,
  ID       INTEGER NOT NULL,
  Name     TEXT
);
CREATE INDEX BranchesOfSystem ON Branches (SystemID, ID);

-- Bus results of one case (SystemID, Solution): V in kV (Vpu times Vbase),
-- Vpu in per unit, Vbase in kV, Angle in degrees, powers in MW and Mvar,
-- Type the bus kind code.
CREATE TABLE PFBuses (
  SystemID INTEGER NOT NULL,
  Solution INTEGER NOT NULL,
  ID       INTEGER NOT NULL,
  V        REAL,
  Vpu      REAL,
  Vbase    REAL,
  Angle    REAL,
  Pgen     REAL,
  Qgen     REAL,
  Pload    REAL,
  Qload    REAL,
  Pshunt   REAL,
  Qshunt   REAL,
  Type     INTEGER
);
CREATE INDEX PFBusesOfCase ON PFBuses (SystemID, Solution, ID);

-- Branch results of one case: currents in A, powers entering at each end in
-- MW and Mvar, Type 0 line, 1 transformer, 2 regulating transformer.
CREATE TABLE PFBranches (
  SystemID  INTEGER NOT NULL,
  Solution  INTEGER NOT NULL,
  ID        INTEGER NOT NULL,
  Type      INTEGER,
  Ifrom     REAL,
  Ito       REAL,
  Pfrom     REAL,
  Qfrom     REAL,
  Pto       REAL,
  Qto       REAL,
  BusFromID INTEGER,
  BusToID   INTEGER
);
CREATE INDEX PFBranchesOfCase ON PFBranches (SystemID, Solution, ID);

-- Queries the program runs by name. Parameters are numbered in the order the
-- program appends them. Both result queries answer in the order of the bus
-- number or branch key, so that two cases of one system pair row by row; a
-- bus or branch added to the network after its first save keeps its row with
-- an empty name.
CREATE TABLE StoredQueries (
  Name TEXT PRIMARY KEY,
  Sql  TEXT NOT NULL
);
INSERT INTO StoredQueries (Name, Sql) VALUES
('getSystem',
 'SELECT ID FROM Systems WHERE Name = ?1 ORDER BY ID'),
('getBusResults',
 'SELECT r.ID AS ID, b.Name AS Name, r.Pgen AS Pgen, r.Qgen AS Qgen,
         r.Pload AS Pload, r.Qload AS Qload, r.Pshunt AS Pshunt, r.Qshunt AS Qshunt,
         r.V AS V, r.Vpu AS Vpu, r.Vbase AS Vbase, r.Angle AS Angle
    FROM PFBuses AS r
    LEFT JOIN Buses AS b ON b.SystemID = r.SystemID AND b.ID = r.ID
   WHERE r.SystemID = ?1 AND r.Solution = ?2
   GROUP BY r.rowid
   ORDER BY r.ID, r.rowid'),
('getBranchResults',
 'SELECT r.BusFromID AS BusFromID, r.BusToID AS BusToID,
         f.Name AS BusFrom, t.Name AS BusTo, r.Ifrom AS Ifrom, r.Ito AS Ito,
         r.Pfrom AS Pfrom, r.Qfrom AS Qfrom, r.Pto AS Pto, r.Qto AS Qto
    FROM PFBranches AS r
    LEFT JOIN Buses AS f ON f.SystemID = r.SystemID AND f.ID = r.BusFromID
    LEFT JOIN Buses AS t ON t.SystemID = r.SystemID AND t.ID = r.BusToID
   WHERE r.SystemID = ?1 AND r.Solution = ?2
   GROUP BY r.rowid
   ORDER BY r.ID, r.rowid');

-- Colour maps: a threshold and the colour of the band below it (0..255 per
-- channel). The drawing asks for the first threshold above the value, and a
-- value above every threshold takes the last colour. VLimit is a nominal
-- voltage in kV; the bus-voltage map takes the bus's voltage index in per
-- unit (V, or 1/V above 1 p.u.), the loading map the element's loading in
-- percent of its limit (100 = at the limit).
CREATE TABLE NomVoltageColorMap (
  VLimit REAL NOT NULL,
  RED    INTEGER NOT NULL CHECK (RED BETWEEN 0 AND 255),
  GREEN  INTEGER NOT NULL CHECK (GREEN BETWEEN 0 AND 255),
  BLUE   INTEGER NOT NULL CHECK (BLUE BETWEEN 0 AND 255)
);
INSERT INTO NomVoltageColorMap (VLimit, RED, GREEN, BLUE) VALUES
  (   1.0, 128, 128, 128),  -- low voltage
  (  36.0, 128,  64,   0),  -- up to 35 kV
  ( 111.0,   0, 160,   0),  -- 110 kV
  ( 221.0,   0,   0, 255),  -- 220 kV
  ( 401.0, 255,   0,   0),  -- 400 kV
  (1000.0, 160,   0, 160);  -- above 400 kV

CREATE TABLE BusVoltageColorMap (
  Percent REAL NOT NULL,
  RED     INTEGER NOT NULL CHECK (RED BETWEEN 0 AND 255),
  GREEN   INTEGER NOT NULL CHECK (GREEN BETWEEN 0 AND 255),
  BLUE    INTEGER NOT NULL CHECK (BLUE BETWEEN 0 AND 255)
);
INSERT INTO BusVoltageColorMap (Percent, RED, GREEN, BLUE) VALUES
  (0.90, 255,   0,   0),  -- more than 10 % off nominal
  (0.95, 255, 160,   0),  -- 5 to 10 % off
  (0.98, 200, 200,   0),  -- 2 to 5 % off
  (1.01,   0, 160,   0);  -- within 2 %

CREATE TABLE LoadingColorMap (
  Percent REAL NOT NULL,
  RED     INTEGER NOT NULL CHECK (RED BETWEEN 0 AND 255),
  GREEN   INTEGER NOT NULL CHECK (GREEN BETWEEN 0 AND 255),
  BLUE    INTEGER NOT NULL CHECK (BLUE BETWEEN 0 AND 255)
);
INSERT INTO LoadingColorMap (Percent, RED, GREEN, BLUE) VALUES
  ( 50.0,   0, 160,   0),  -- below half the limit
  ( 80.0, 200, 200,   0),  -- 50 to 80 %
  (100.0, 255, 160,   0),  -- 80 to 100 %
  (150.0, 255,   0,   0);  -- over the limit

COMMIT;
