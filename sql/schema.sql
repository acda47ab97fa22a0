-- Production database of programmed meters, for PostgreSQL.
-- The program reaches it through the data source "Electrometer" and relies on the tables and
-- columns below and on the function getdate(); other columns may be added freely.

-- Register of meters: factory number and meter kind (37: the ZR-347).
CREATE TABLE electrometer (
    electro_id  serial PRIMARY KEY,
    number      integer NOT NULL,
    type_id     integer NOT NULL,
    UNIQUE (number, type_id)
);

-- Workstations, by the operating system's computer name.
CREATE TABLE computer (
    computer_id serial PRIMARY KEY,
    name        varchar(64) NOT NULL UNIQUE
);

-- Operators, by their login; operating = 1 marks an active operator.
CREATE TABLE operator (
    person_id   serial PRIMARY KEY,
    login       varchar(64) NOT NULL,
    operating   integer NOT NULL DEFAULT 1
);

-- Installations; type 3 is a programming installation bound to one workstation.
CREATE TABLE plant (
    plant_id    serial PRIMARY KEY,
    type_id     integer NOT NULL,
    computer_id integer REFERENCES computer
);

-- One row per operation on a meter; type 3 is programming.
CREATE TABLE operation (
    operation_id serial PRIMARY KEY,
    type_id      integer NOT NULL,
    electro_id   integer NOT NULL REFERENCES electrometer,
    plant_id     integer NOT NULL REFERENCES plant,
    person_id    integer NOT NULL REFERENCES operator,
    success      boolean NOT NULL
);
CREATE INDEX operation_electro ON operation (electro_id);

-- Settings and readings of one programming operation; NULL where a setting was not written.
CREATE TABLE set_zur (
    operation_id integer PRIMARY KEY REFERENCES operation,
    version      varchar(64),
    el_type      varchar(64),
    address      integer,
    baud         varchar(8),
    turn_on      varchar(64),
    status       integer,
    date_time    timestamp,
    summer       boolean,
    check_sum    integer,
    pass         varchar(16),
    t            double precision,
    count_day    integer,
    count_hour   integer,
    ncorrect     integer,
    indicator    integer,
    time_integ   integer,
    ddm_a        integer,
    ddm_b        integer,
    ddm_c        integer,
    mode_tarif   integer,
    secperday    double precision
);

-- Power-line modem numbering given to a meter at its first programming; a modem number is
-- given once.
CREATE TABLE set_pk (
    operation_id integer PRIMARY KEY REFERENCES operation,
    version      varchar(64),
    plm_group    integer NOT NULL,
    plm_address  integer NOT NULL,
    plm_number   integer NOT NULL UNIQUE
);

-- The server's current local date and time, which the workstations take as their clock.
CREATE FUNCTION getdate() RETURNS timestamp
    LANGUAGE sql VOLATILE
    AS $$ SELECT clock_timestamp()::timestamp(3) $$;
