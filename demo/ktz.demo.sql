-- Demo data of the first KTZ station ("Estación Ruta 9"), loaded after
-- schema/ktz.sqlite.sql.
--
-- Early March 2026 at a station that sells natural gas, lubricants and
-- accessories: a small catalogue with four categories, six customers,
-- invoices of letters A and B (point of sale 5), delivery notes (point of
-- sale 1) and natural-gas loads (load type 3). Rows that the transfer must
-- leave alone are there too: shop and cigarette articles, an article without
-- tax class, one without price, a letter-C invoice, documents numbered 0 and
-- documents dated before 2026-03-01.

-- Categories -----------------------------------------------------------------

INSERT INTO RUBRO (RUB_COD, RUB_DESCR) VALUES (1, 'GNC');
INSERT INTO RUBRO (RUB_COD, RUB_DESCR) VALUES (2, 'LUBRICANTES');
INSERT INTO RUBRO (RUB_COD, RUB_DESCR) VALUES (3, 'SHOP / KIOSCO');
INSERT INTO RUBRO (RUB_COD, RUB_DESCR) VALUES (4, 'ACCESORIOS Y REPUESTOS');

-- Articles -------------------------------------------------------------------

INSERT INTO PRODUCTO (PROD_ID, PROD_RUB, PROD_EAN, PROD_DESCRIP, PROD_MEDIDA, PROD_IMPINT, PROD_IVA, PROD_COSTO, IVA_TIPO) VALUES
    -- natural gas: configuration key KTZ_CODIGOGNC '1-1'
    (1,  1, '2000000000015', 'GNC - GAS NATURAL COMPRIMIDO',           'M3', 18.45, 21, 455,   'GRAVADO'),
    (10, 2, '7790070101042', 'ACEITE SEMISINTÉTICO 10W40 X 1 LT',      'LT', 350,   21, 7900,  'GRAVADO'),
    (11, 2, '7790070101158', 'ACEITE SINTÉTICO 5W30 X 4 LT',           'UN', 1400,  21, 38500, 'GRAVADO'),
    -- sold as one unit, made in Orva of two units of article 10
    (12, 2, '7790070102049', 'PACK ACEITE SEMISINTÉTICO 10W40 X 2 LT', 'UN', 700,   21, 15800, 'GRAVADO'),
    (40, 2, '8001234500406', 'REFRIGERANTE D''AMICO CONCENTRADO X 1 LT','UN', 0,     21, 4300,  'GRAVADO'),
    (20, 4, '7793344000208', 'LÍQUIDO REFRIGERANTE ORGÁNICO X 1 LT',   'LT', 0,     21, 4100,  'GRAVADO'),
    -- two price rows: the article comes twice from the catalogue query
    (21, 4, '7793344000215', 'GRASA DE LITIO MULTIPROPÓSITO',          'KG', 0,     21, 5600,  'GRAVADO'),
    -- no price row: never transferred
    (22, 4, '7791234000228', 'LÁMPARA H4 12V 60/55W',                  'UN', 0,     21, 1900,  'GRAVADO'),
    -- tax classes the transfer leaves out
    (30, 3, '7790580123305', 'ALFAJOR TRIPLE DULCE DE LECHE',          'UN', 0,     21, 780,   'SHOP'),
    (31, 3, '7790040310312', 'CIGARRILLOS RUBIOS BOX X 20',            'UN', 0,     21, 3300,  'CIGARRILLOS'),
    -- no tax class: left out as well
    (32, 3, '7798062540329', 'AGUA MINERAL SIN GAS 500 ML',            'UN', 0,     21, 520,   NULL);

INSERT INTO PROD_PRECIO (ID_PROD, ID_LISTA, PVENTA) VALUES
    (1,  1, 689.90),
    (10, 1, 12500),
    (11, 1, 58900),
    (12, 1, 24000),
    (40, 1, 7200),
    (20, 1, 6800),
    (21, 1, 10500),
    (21, 2, 10500),
    (30, 1, 1500),
    (31, 1, 4200),
    (32, 1, 1100);

-- Customers ------------------------------------------------------------------

INSERT INTO T_CLIENTES (T_CLI_CTA, T_CLI_EMP, T_CLI_NOM, T_CLI_DIR, T_CLI_LOC, T_CLI_CP, T_CLI_PRO, T_CLI_TEL, T_CLI_CUIT, T_CLI_DNI, T_CLI_CONTRIB) VALUES
    (1,     'NINGUNA', 'CONSUMIDOR FINAL', '', 'San Pedro', '2930', 'BUENOS AIRES', '', '0', '', 'Consumidor Final'),
    (12,    'Transportes D''Onofrio S.R.L.', 'Juan Carlos D''Onofrio', 'Av. O''Higgins 2150', 'Córdoba', '5000', ' Córdoba ', '0351 468-2210', '30-71234567-8', '22.345.678', 'RESP. INSCRIP.'),
    (27,    'Agropecuaria La Tranquera S.A.', 'Martín Gómez', 'Ruta Provincial 6 km 42', 'Casilda', '2170', 'SANTA FE', '03464 42-1187', '30-70987654-3', '', 'Resp. Inscrip.'),
    (35,    'ninguna', 'María José Ñañez', 'Belgrano 845', 'Godoy Cruz', '5501', 'Mendoza', '0261 424-9031', '27-31456789-4', '31.456.789', ' monotributo '),
    -- province missing from the Orva province table
    (48,    'Cooperativa Escolar Nº 5', 'Silvia Ríos', 'Islas Malvinas 320', 'Río Grande', '9420', 'TIERRA DEL FUEGO', '02964 43-0021', '30-68765432-1', '', 'EXENTO'),
    -- five-digit number: its account is built from the last four digits
    (10023, 'Remises El Ñandú S.R.L.', 'Nicolás Peñaloza', 'Sarmiento 1120', 'San Nicolás', '2900', 'BUENOS AIRES', '0336 442-7788', '30-71555666-2', '', 'RESP. INSCRIP.');

-- Invoices (point of sale 5) -------------------------------------------------

INSERT INTO FAC_OUT (ID, FOUT_FECHA, FOUT_PVENTA, FOUT_NUM, FOUT_TIPO, TOTAL, NETO_GRAV, IMP_NGRAV, FOUT_TOTIVA, FOUT_IVAPORC, CLI_COD, CLI_NAME, CLI_CUIT, CLI_COND, FOUT_TURNO) VALUES
    -- February: before the first transfer date
    (990,  '2026-02-27', 5, 1230, 'B', 12500,  10041.3223,  350,  2108.6777,  21, 1,     'CONSUMIDOR FINAL', '0', 'CF', 'TARDE'),
    (1001, '2026-03-02', 5, 1234, 'A', 31800,  25702.4793,  700,  5397.5207,  21, 12,    'Transportes D''Onofrio S.R.L.', '30-71234567-8', 'RI', 'MAÑANA'),
    (1002, '2026-03-02', 5, 1235, 'B', 63800,  51570.2480,  1400, 10829.7520, 21, 1,     'CONSUMIDOR FINAL', '0', 'CF', 'TARDE'),
    (1003, '2026-03-03', 5, 1236, 'B', 12500,  10041.3223,  350,  2108.6777,  21, 35,    'María José Ñañez', '27-31456789-4', 'MT', 'noche'),
    (1004, '2026-03-03', 5, 1237, 'A', 260600, 210165.2892, 6300, 44134.7108, 21, 27,    'Agropecuaria La Tranquera S.A.', '30-70987654-3', 'RI', 'Mañana'),
    -- a shift name the station made up: no shift code
    (1005, '2026-03-04', 5, 1238, 'B', 23400,  19338.8430,  0,    4061.1570,  21, 48,    'Cooperativa Escolar Nº 5', '30-68765432-1', 'EX', 'PLAYA'),
    (1006, '2026-03-04', 5, 1239, 'A', 27600,  22809.9173,  0,    4790.0827,  21, 10023, 'Remises El Ñandú S.R.L.', '30-71555666-2', 'RI', 'TARDE'),
    -- letter C and number 0: never transferred
    (1007, '2026-03-04', 5, 15,   'C', 6800,   5619.8347,   0,    1180.1653,  21, 1,     'CONSUMIDOR FINAL', '0', 'CF', 'NOCHE'),
    (1008, '2026-03-04', 5, 0,    'B', 6800,   5619.8347,   0,    1180.1653,  21, 1,     'CONSUMIDOR FINAL', '0', 'CF', 'NOCHE');

-- Delivery notes (point of sale 1) -------------------------------------------

INSERT INTO FAC_OUT (ID, FOUT_FECHA, FOUT_PVENTA, FOUT_NUM, FOUT_TIPO, TOTAL, NETO_GRAV, IMP_NGRAV, FOUT_TOTIVA, FOUT_IVAPORC, CLI_COD, CLI_NAME, CLI_CUIT, CLI_COND, FOUT_TURNO) VALUES
    (1101, '2026-03-02', 1, 41, 'R', 62700, 50661.1570, 1400, 10638.8430, 21, 27, 'Agropecuaria La Tranquera S.A.', '30-70987654-3', 'RI', 'MAÑANA'),
    -- exempt customer
    (1102, '2026-03-03', 1, 42, 'R', 13600, 11239.6694, 0,    2360.3306,  21, 48, 'Cooperativa Escolar Nº 5', '30-68765432-1', 'EX', 'TARDE'),
    (1103, '2026-03-04', 1, 43, 'R', 65200, 52727.2728, 1400, 11072.7272, 21, 12, 'Transportes D''Onofrio S.R.L.', '30-71234567-8', 'RI', 'MAÑANA');

-- Document lines -------------------------------------------------------------

INSERT INTO FACT_OUT (FCOUT_ID, FCOUT_PROD_ID, FCOUT_RUB, FCOUT_UNID, FCOUT_DESCR, FCOUT_CANT, FCOUT_PVENTA, FCOUT_IMP_NGRAV, FCOUT_IVA, FCOUT_NETO, FCOUT_IVA_PORC, FCOUT_TOTAL) VALUES
    (990,  10, 2, 'LT', 'ACEITE SEMISINTÉTICO 10W40 X 1 LT',       1,   12500, 350,  2108.6777,  10041.3223,  21, 12500),
    (1001, 10, 2, 'LT', 'ACEITE SEMISINTÉTICO 10W40 X 1 LT',       2,   12500, 700,  4217.3554,  20082.6446,  21, 25000),
    (1001, 20, 4, 'LT', 'LÍQUIDO REFRIGERANTE ORGÁNICO X 1 LT',    1,   6800,  0,    1180.1653,  5619.8347,   21, 6800),
    (1002, 21, 4, 'KG', 'GRASA DE LITIO MULTIPROPÓSITO',           0.5, 9800,  0,    850.4132,   4049.5868,   21, 4900),
    (1002, 11, 2, 'UN', 'ACEITE SINTÉTICO 5W30 X 4 LT',            1,   58900, 1400, 9979.3388,  47520.6612,  21, 58900),
    (1003, 10, 2, 'LT', 'ACEITE SEMISINTÉTICO 10W40 X 1 LT',       1,   12500, 350,  2108.6777,  10041.3223,  21, 12500),
    (1004, 11, 2, 'UN', 'ACEITE SINTÉTICO 5W30 X 4 LT',            4,   58900, 5600, 39917.3554, 190082.6446, 21, 235600),
    (1004, 10, 2, 'LT', 'ACEITE SEMISINTÉTICO 10W40 X 1 LT',       2,   12500, 700,  4217.3554,  20082.6446,  21, 25000),
    (1005, 20, 4, 'LT', 'LÍQUIDO REFRIGERANTE ORGÁNICO X 1 LT',    2,   6800,  0,    2360.3306,  11239.6694,  21, 13600),
    (1005, 21, 4, 'KG', 'GRASA DE LITIO MULTIPROPÓSITO',           1,   9800,  0,    1700.8264,  8099.1736,   21, 9800),
    (1006, 20, 4, 'LT', 'LÍQUIDO REFRIGERANTE ORGÁNICO X 1 LT',    3,   6800,  0,    3540.4959,  16859.5041,  21, 20400),
    (1006, 40, 2, 'UN', 'REFRIGERANTE D''AMICO CONCENTRADO X 1 LT', 1,   7200,  0,    1249.5868,  5950.4132,   21, 7200),
    (1007, 20, 4, 'LT', 'LÍQUIDO REFRIGERANTE ORGÁNICO X 1 LT',    1,   6800,  0,    1180.1653,  5619.8347,   21, 6800),
    (1008, 20, 4, 'LT', 'LÍQUIDO REFRIGERANTE ORGÁNICO X 1 LT',    1,   6800,  0,    1180.1653,  5619.8347,   21, 6800),
    (1101, 12, 2, 'UN', 'PACK ACEITE SEMISINTÉTICO 10W40 X 2 LT',  2,   24000, 1400, 8087.6033,  38512.3967,  21, 48000),
    (1101, 21, 4, 'KG', 'GRASA DE LITIO MULTIPROPÓSITO',           1.5, 9800,  0,    2551.2397,  12148.7603,  21, 14700),
    (1102, 20, 4, 'LT', 'LÍQUIDO REFRIGERANTE ORGÁNICO X 1 LT',    2,   6800,  0,    2360.3306,  11239.6694,  21, 13600),
    (1103, 11, 2, 'UN', 'ACEITE SINTÉTICO 5W30 X 4 LT',            1,   58900, 1400, 9979.3388,  47520.6612,  21, 58900),
    (1103, 22, 4, 'UN', 'LÁMPARA H4 12V 60/55W',                   2,   3150,  0,    1093.3884,  5206.6116,   21, 6300);

-- Natural-gas loads (load type 3), 689.90 per m3 with 18.45 fixed tax -------
-- Ids run independently of FAC_OUT: load 1002 and invoice 1002 are both
-- March sales to customer 1.

INSERT INTO T_CARGAS (ID, F_COMP, T_TIPOCARGA, N_COMP, IMP_CARGA, VOL_CARGA, N_ITC, N_IVA, N_CLIENTE, HORA, N_PV) VALUES
    (999,  '2026-02-28', 3, 80210, 9589.61,  13.9,  18.45, 21, 1,  '2026-02-28 18:30:00', 689.90),
    (1001, '2026-03-02', 3, 80211, 8623.75,  12.5,  18.45, 21, 1,  '2026-03-02 00:00:00', 689.90),
    (1002, '2026-03-02', 3, 80212, 5739.97,  8.32,  18.45, 21, 1,  '2026-03-02 06:00:00', 689.90),
    (1003, '2026-03-02', 3, 80213, 10376.10, 15.04, 18.45, 21, 12, '2026-03-02 13:59:59', 689.90),
    (1004, '2026-03-03', 3, 80214, 7388.83,  10.71, 18.45, 21, 1,  '2026-03-03 14:00:00', 689.90),
    -- a customer number KTZ does not know
    (1005, '2026-03-03', 3, 80215, 9796.58,  14.2,  18.45, 21, 77, '2026-03-03 21:59:59', 689.90),
    -- IVA 0
    (1006, '2026-03-03', 3, 80216, 6623.04,  9.6,   18.45, 0,  48, '2026-03-03 22:00:00', 689.90),
    (1007, '2026-03-04', 3, 80217, 7830.36,  11.35, 18.45, 21, 1,  '2026-03-04 05:59:59', 689.90),
    -- ticket number 0: never transferred
    (1008, '2026-03-04', 3, 0,     4691.32,  6.8,   18.45, 21, 1,  '2026-03-04 09:12:40', 689.90);
