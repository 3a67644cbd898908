-- A small, realistic data set for the demo (loaded by run.sh only, into an
-- empty attendance database; the payroll part at the end goes into kestrelbook).
-- Three offices of a municipal government, two terminals served by the demo's
-- simulators on loopback, thirty employees, the regular holidays of the
-- current year, a verified login admin / admin, and the mail account row.

INSERT INTO offices (officeid, off_name, off_short, off_address, off_contact, off_barangay, off_citymun, off_province, off_zipcode) VALUES
  (1, 'Municipal Mayor''s Office', 'MMO', 'Rizal Street', '(044) 940-1101', 'Poblacion', 'San Leonardo', 'Nueva Ecija', '3102'),
  (2, 'Municipal Treasurer''s Office', 'MTO', 'Rizal Street', '(044) 940-1102', 'Poblacion', 'San Leonardo', 'Nueva Ecija', '3102'),
  (3, 'Municipal Health Office', 'MHO', 'Purok 3, Mabini Street', '(044) 940-1103', 'Castellano', 'San Leonardo', 'Nueva Ecija', '3102');
SELECT setval(pg_get_serial_sequence('offices', 'officeid'), 3);

-- The demo's simulators listen on these ports (run.sh).
INSERT INTO zkteco_devices (officeid, zkteco_ipadd, zkteco_port, zkteco_devicenum) VALUES
  (1, '127.0.0.1', 43701, 1),
  (2, '127.0.0.1', 43702, 1);

INSERT INTO spec_locations (barangay, city_mun, province) VALUES
  ('Poblacion', 'San Leonardo', 'Nueva Ecija'),
  ('Castellano', 'San Leonardo', 'Nueva Ecija'),
  ('Tambo Adorable', 'San Leonardo', 'Nueva Ecija'),
  ('Diversion', 'San Leonardo', 'Nueva Ecija'),
  ('Bantug', 'Gapan', 'Nueva Ecija'),
  ('San Vicente', 'Gapan', 'Nueva Ecija'),
  ('Sumacab Este', 'Cabanatuan', 'Nueva Ecija');

-- The first login of IT staff; stored as typed, re-stored as a hash at the first login.
INSERT INTO end_user (end_fname, end_lname, usernames, passwords, designation, officeid, email_address, email_code, activate_status)
VALUES ('Maria', 'Dela Cruz', 'admin', 'admin', 'Administrative Officer IV', 1, 'admin@sanleonardo.gov.ph.invalid', '0', 1);

-- The notification mail account (replace with the office's real account).
INSERT INTO accounts_nofi (usernames, passwords) VALUES ('orvanta.notify@sanleonardo.gov.ph.invalid', 'change-me');

-- Employees: bio IDs 1-30 on the terminals, payroll ids 1001-1030.
INSERT INTO bioemp_profile (employeeid, bioid, namess, lname, fname, mname, suffixs, officeid, emp_type, privilege, usrbool, hfullname, hposition, hdesignation) VALUES
  (1001, '1',  'J. SANTOS',     'Santos',     'Juan',      'Reyes',     NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1002, '2',  'A. SANCHEZ',    'Sanchez',    'Ana',       'Lopez',     NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1003, '3',  'P. GARCIA',     'Garcia',     'Pedro',     NULL,        'Jr.', 1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1004, '4',  'L. REYES',      'Reyes',      'Liza',      'Mendoza',   NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1005, '5',  'M. SAN JOSE',   'San Jose',   'Mark',      'Aquino',    NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1006, '6',  'R. BAUTISTA',   'Bautista',   'Rosa',      'Cruz',      NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1007, '7',  'E. NAVARRO',    'Navarro',    'Eduardo',   'Pascual',   'III', 1, 'Permanent', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1008, '8',  'C. TORRES',     'Torres',     'Carmela',   'Santiago',  NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1009, '9',  'J. RAMOS',      'Ramos',      'Jose',      NULL,        NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1010, '10', 'G. FLORES',     'Flores',     'Gloria',    'Dizon',     NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1011, '11', 'R. CASTILLO',   'Castillo',   'Ramon',     'Villar',    NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1012, '12', 'T. MERCADO',    'Mercado',    'Teresa',    'Ocampo',    NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1013, '13', 'A. SANTIAGO',   'Santiago',   'Antonio',   'Rivera',    NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1014, '14', 'F. DOMINGO',    'Domingo',    'Fe',        'Valdez',    NULL,  1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1015, '15', 'V. AGUILAR',    'Aguilar',    'Victor',    NULL,        'Sr.', 1, 'Job Order', 0, -1, 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', 'Head of Office'),
  (1016, '16', 'M. DELOS SANTOS','Delos Santos','Marites', 'Bernardo',  NULL,  2, 'Job Order', 0, -1, 'CORAZON L. PANGANIBAN', 'Municipal Treasurer', 'Head of Office'),
  (1017, '17', 'B. SANTOS',     'Santos',     'Bernardo',  'Galang',    NULL,  2, 'Job Order', 0, -1, 'CORAZON L. PANGANIBAN', 'Municipal Treasurer', 'Head of Office'),
  (1018, '18', 'N. CRUZ',       'Cruz',       'Nestor',    'Manalo',    NULL,  2, 'Job Order', 0, -1, 'CORAZON L. PANGANIBAN', 'Municipal Treasurer', 'Head of Office'),
  (1019, '19', 'J. VILLANUEVA', 'Villanueva', 'Josefina',  'Lim',       NULL,  2, 'Permanent', 0, -1, 'CORAZON L. PANGANIBAN', 'Municipal Treasurer', 'Head of Office'),
  (1020, '20', 'D. PANGILINAN', 'Pangilinan', 'Danilo',    'Tan',       NULL,  2, 'Job Order', 0, -1, 'CORAZON L. PANGANIBAN', 'Municipal Treasurer', 'Head of Office'),
  (1021, '21', 'L. SANDOVAL',   'Sandoval',   'Lourdes',   'Enriquez',  NULL,  2, 'Job Order', 0, -1, 'CORAZON L. PANGANIBAN', 'Municipal Treasurer', 'Head of Office'),
  (1022, '22', 'E. MANALASTAS', 'Manalastas', 'Ernesto',   NULL,        NULL,  2, 'Job Order', 0, -1, 'CORAZON L. PANGANIBAN', 'Municipal Treasurer', 'Head of Office'),
  (1023, '23', 'C. DAVID',      'David',      'Cristina',  'Soriano',   NULL,  2, 'Job Order', 0, -1, 'CORAZON L. PANGANIBAN', 'Municipal Treasurer', 'Head of Office'),
  (1024, '24', 'R. SALAZAR',    'Salazar',    'Rodrigo',   'Perez',     'Jr.', 2, 'Job Order', 0, -1, 'CORAZON L. PANGANIBAN', 'Municipal Treasurer', 'Head of Office'),
  (1025, '25', 'I. FERNANDEZ',  'Fernandez',  'Imelda',    'Castro',    NULL,  2, 'Job Order', 0, -1, 'CORAZON L. PANGANIBAN', 'Municipal Treasurer', 'Head of Office'),
  (1026, '26', 'H. SAMSON',     'Samson',     'Herminio',  'Basa',      NULL,  3, 'Job Order', 0, -1, 'DR. ALMA P. ESGUERRA',  'Municipal Health Officer', 'Head of Office'),
  (1027, '27', 'A. MORALES',    'Morales',    'Aurora',    'Gatdula',   NULL,  3, 'Job Order', 0, -1, 'DR. ALMA P. ESGUERRA',  'Municipal Health Officer', 'Head of Office'),
  (1028, '28', 'F. SANTOS',     'Santos',     'Felipe',    NULL,        NULL,  3, 'Job Order', 0, -1, 'DR. ALMA P. ESGUERRA',  'Municipal Health Officer', 'Head of Office'),
  (1029, '29', 'G. LACSON',     'Lacson',     'Gemma',     'Roque',     NULL,  3, 'Permanent', 0, -1, 'DR. ALMA P. ESGUERRA',  'Municipal Health Officer', 'Head of Office'),
  (1030, '30', 'P. ESPIRITU',   'Espiritu',   'Paolo',     'Miranda',   NULL,  3, 'Job Order', 0, -1, 'DR. ALMA P. ESGUERRA',  'Municipal Health Officer', 'Head of Office');

-- Regular holidays of the current year (fixed dates, and National Heroes Day
-- on the last Monday of August).
INSERT INTO holidays (hol_date, hol_descrip)
SELECT make_date(extract(year from current_date)::int, m, d), 'Regular Holiday'
FROM (VALUES (1, 1), (4, 9), (5, 1), (6, 12), (11, 30), (12, 25), (12, 30)) AS fixed(m, d);
INSERT INTO holidays (hol_date, hol_descrip)
SELECT max(day)::date, 'Regular Holiday'
FROM generate_series(make_date(extract(year from current_date)::int, 8, 1),
                     make_date(extract(year from current_date)::int, 8, 31), interval '1 day') AS day
WHERE extract(isodow from day) = 1;

\connect kestrelbook

INSERT INTO jo_emplyee (jo_employeeid, employee_lname, employee_fname, employee_mname, employee_ext, reg_bir) VALUES
  (1001, 'Santos', 'Juan', 'Reyes', NULL, NULL), (1002, 'Sanchez', 'Ana', 'Lopez', NULL, NULL),
  (1003, 'Garcia', 'Pedro', NULL, 'Jr.', NULL), (1004, 'Reyes', 'Liza', 'Mendoza', NULL, NULL),
  (1005, 'San Jose', 'Mark', 'Aquino', NULL, NULL), (1006, 'Bautista', 'Rosa', 'Cruz', NULL, NULL),
  (1007, 'Navarro', 'Eduardo', 'Pascual', 'III', NULL), (1008, 'Torres', 'Carmela', 'Santiago', NULL, NULL),
  (1009, 'Ramos', 'Jose', NULL, NULL, NULL), (1010, 'Flores', 'Gloria', 'Dizon', NULL, NULL),
  (1011, 'Castillo', 'Ramon', 'Villar', NULL, NULL), (1012, 'Mercado', 'Teresa', 'Ocampo', NULL, NULL),
  (1013, 'Santiago', 'Antonio', 'Rivera', NULL, NULL), (1014, 'Domingo', 'Fe', 'Valdez', NULL, NULL),
  (1015, 'Aguilar', 'Victor', NULL, 'Sr.', NULL), (1016, 'Delos Santos', 'Marites', 'Bernardo', NULL, NULL),
  (1017, 'Santos', 'Bernardo', 'Galang', NULL, NULL), (1018, 'Cruz', 'Nestor', 'Manalo', NULL, NULL),
  (1019, 'Villanueva', 'Josefina', 'Lim', NULL, NULL), (1020, 'Pangilinan', 'Danilo', 'Tan', NULL, NULL),
  (1021, 'Sandoval', 'Lourdes', 'Enriquez', NULL, NULL), (1022, 'Manalastas', 'Ernesto', NULL, NULL, NULL),
  (1023, 'David', 'Cristina', 'Soriano', NULL, NULL), (1024, 'Salazar', 'Rodrigo', 'Perez', 'Jr.', NULL),
  (1025, 'Fernandez', 'Imelda', 'Castro', NULL, NULL), (1026, 'Samson', 'Herminio', 'Basa', NULL, NULL),
  (1027, 'Morales', 'Aurora', 'Gatdula', NULL, NULL), (1028, 'Santos', 'Felipe', NULL, NULL, NULL),
  (1029, 'Lacson', 'Gemma', 'Roque', NULL, NULL), (1030, 'Espiritu', 'Paolo', 'Miranda', NULL, NULL);
-- Two employees are exempt from withholding tax this year.
UPDATE jo_emplyee SET reg_bir = extract(year from current_date)::int WHERE jo_employeeid IN (1009, 1022);
SELECT setval(pg_get_serial_sequence('jo_emplyee', 'jo_employeeid'), 1030);

-- One contract per employee covering the current year; monthly rates 12,000 to 21,000.
INSERT INTO contract_services (jo_employeeid, cdate_from, cdate_to, jo_rate)
SELECT jo_employeeid,
       make_date(extract(year from current_date)::int, 1, 1),
       make_date(extract(year from current_date)::int, 12, 31),
       12000 + (jo_employeeid % 10) * 1000
FROM jo_emplyee;

-- The payroll system's monthly DTR register: a row per employee and month of the year.
INSERT INTO dtr_final (jo_employeeid, date_start)
SELECT e.jo_employeeid, m::date
FROM jo_emplyee e,
     generate_series(make_date(extract(year from current_date)::int, 1, 1),
                     make_date(extract(year from current_date)::int, 12, 1), interval '1 month') AS m;

INSERT INTO end_users (usernames) VALUES ('payroll-admin');
