-- Demo data of the Orva database, loaded after schema/orva.sqlite.sql.
--
-- The configuration that points the transfer at the two demo KTZ databases
-- (the demo builder replaces @DEMO_DIR@ with the folder that holds them),
-- the tables the transfer relies on (provinces, IVA and sales accounts,
-- voucher number books) and a little of what an Orva company already has
-- before its first transfer: some articles, one customer, a composed
-- article and the lots of its component.

-- Configuration ----------------------------------------------------------------
-- Keys are unique without regard to case: TITULOCLIENTES also answers for
-- TituloClientes, DEPOSITODEFAULT for DepositoDefault.

INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES
    ('Digitos_Cuenta',                 '6',                  'DATOS'),
    ('TITULOCLIENTES',                 '1120',               'DATOS'),
    ('KTZ_SERVIDOR',                   '',                   'DATOS'),
    ('KTZ_BASEDEDATOS',                '@DEMO_DIR@/ktz.db',  'DATOS'),
    ('KTZ_USUARIO',                    'SYSDBA',             'DATOS'),
    ('KTZ_PASSWORD',                   'MasterKey',          'DATOS'),
    ('KTZ_SERVIDOR2',                  '',                   'DATOS'),
    ('KTZ_BASEDEDATOS2',               '@DEMO_DIR@/ktz2.db', 'DATOS'),
    ('KTZ_USUARIO2',                   'SYSDBA',             'DATOS'),
    ('KTZ_PASSWORD2',                  'MasterKey',          'DATOS'),
    ('KTZ_FECHADESDE',                 '2026-03-01',         'DATOS'),
    ('KTZ_CODIGOGNC',                  '1-1',                'DATOS'),
    ('KTZ_TC',                         'FA',                 'DATOS'),
    ('KTZ_TC2',                        'FA',                 'DATOS'),
    ('PERIODO',                        '2026',               'DATOS'),
    ('DescargaStockRemitos',           'SI',                 'DATOS'),
    ('DEPOSITODEFAULT',                '1',                  'DATOS'),
    ('MotivoStockDefault',             '1',                  'DATOS'),
    ('PIVA',                           '21',                 'DATOS'),
    ('DescargaInsumosProduccion',      'NO',                 'DATOS'),
    ('PideDepositoEnCptes',            'NO',                 'DATOS'),
    ('NombreArticulos',                'CÓDIGO',             'DATOS'),
    ('ConfirmaUDEquiv',                'NO',                 'DATOS'),
    ('NoMostrarImportesEnOT',          'NO',                 'DATOS'),
    ('V_ListaPreciosPorItemArticulos', 'NO',                 'DATOS'),
    ('V_DescuentoPorArticulos',        'NO',                 'DATOS');

-- Provinces ------------------------------------------------------------------
-- Salta and Tierra del Fuego are missing: customers from there get '   1'.

INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES
    ('   1', 'BUENOS AIRES'),
    ('   2', 'CIUDAD AUTÓNOMA DE BUENOS AIRES'),
    ('   3', 'CÓRDOBA'),
    ('   4', 'SANTA FE'),
    ('   5', 'MENDOZA'),
    ('   6', 'ENTRE RÍOS');

-- Accounts -------------------------------------------------------------------

INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION, TITULO, AJUSTE, LIBRO_IVA_VENTAS, LIBRO_IVA_COMPRAS, TIPOVISTA, DADA_DE_BAJA, MEDIODEPAGO) VALUES
    ('1120',    'DEUDORES POR VENTAS',                      1, 0, 0, 0, NULL, 0, NULL),
    ('2110101', 'IVA DÉBITO FISCAL - RESP. INSCRIPTOS',     0, 0, 0, 0, NULL, 0, NULL),
    ('2110102', 'IVA DÉBITO FISCAL - RESP. NO INSCRIPTOS',  0, 0, 0, 0, NULL, 0, NULL),
    ('2110103', 'IVA DÉBITO FISCAL - CONSUMIDORES FINALES', 0, 0, 0, 0, NULL, 0, NULL),
    ('2110104', 'IVA DÉBITO FISCAL - MONOTRIBUTISTAS',      0, 0, 0, 0, NULL, 0, NULL),
    ('2120001', 'Distribuidora de Lubricantes del Litoral S.A.', 0, 0, 0, 1, 'PR', 0, NULL),
    ('4110101', 'VENTAS DE LUBRICANTES Y REPUESTOS',        0, 0, 0, 0, NULL, 0, NULL),
    -- customer 12 of the first station, transferred once before: same name,
    -- but the phone number has changed in KTZ since
    ('1120000012', 'Transportes D''Onofrio S.R.L.',         0, 0, 1, 0, 'CL', 0, '   2');

INSERT INTO MA_CUENTASADIC (CODIGO, CALLE, LOCALIDAD, CPOSTAL, PROVINCIA, TELEFONO, NUMERO_DOCUMENTO, IVA, DOCUMENTO_TIPO, IDCOND_CPRA_VTA, OBSERVACIONES, PAIS, IDMOTIVOVTA, CLASE) VALUES
    ('1120000012', 'Av. O''Higgins 2150', 'Córdoba', '5000', '   3', '0351 468-0000', '30-71234567-8', '   1', '   1', '   1', '22.345.678', '   1', '   1', 2);

-- IVA accounts by IVA condition, and the account credited with sales.
INSERT INTO TA_CUENTASIVA (DFI_IVARI, DFI_IVARNI, DFI_IVACF, DFI_IVARM) VALUES
    ('2110101', '2110102', '2110103', '2110104');

INSERT INTO V_TA_INPUT_VENTAS (IdMotivoVTA, REPUESTOS) VALUES
    ('   1', '4110101');

-- Catalogue ------------------------------------------------------------------

INSERT INTO V_TA_RUBROS (IDRUBRO, DESCRIPCION) VALUES
    ('   1', 'GNC'),
    ('   2', 'Lubricantes');

INSERT INTO V_TA_UNIDAD (IDUNIDAD, DESCRIPCION) VALUES
    ('  M3', 'M3'),
    ('  LT', 'LT'),
    ('  UN', 'UN');

-- 1-1 and 12-2 are as in KTZ, 10-2 still has the price of last month, 11-2 has a
-- description that differs from KTZ only in letter case.
INSERT INTO V_MA_ARTICULOS (IDARTICULO, CODIGOBARRA, DESCRIPCION, IDRUBRO, IDUNIDAD, PRECIO2, TASAIVA, IMPUESTOS, COSTO, CUENTAPROVEEDOR) VALUES
    ('                      1-1', '            2000000000015', 'GNC - GAS NATURAL COMPRIMIDO',           '   1', '  M3', 671.45, 21, 18.45, 455,   NULL),
    ('                     10-2', '            7790070101042', 'ACEITE SEMISINTÉTICO 10W40 X 1 LT',      '   2', '  LT', 11300,  21, 350,   7200,  '2120001'),
    ('                     11-2', '            7790070101158', 'Aceite Sintético 5w30 x 4 Lt',           '   2', '  UN', 57500,  21, 1400,  38500, '2120001'),
    ('                     12-2', '            7790070102049', 'PACK ACEITE SEMISINTÉTICO 10W40 X 2 LT', '   2', '  UN', 23300,  21, 700,   15800, '2120001');

-- The pack 12-2 is made of two litres of oil 10-2.
INSERT INTO V_MA_INSUMOS (IDARTICULO, IdArticuloInsumo, IdUnidadInsumo, Cantidad) VALUES
    ('                     12-2', '                     10-2', '  LT', 2);

-- Lots of oil 10-2. Only deposit 1 is drawn from, and only lots with stock.
INSERT INTO STK_SERIES_Y_LOTES (IdArticulo, IDDEPOSITO, NroLote, CANTIDAD) VALUES
    ('                     10-2', '   1', 'L2512-0003', 0),
    ('                     10-2', '   1', 'L2601-0012', 3),
    ('                     10-2', '   1', 'L2602-0047', 10),
    ('                     10-2', '   2', 'L2602-0050', 24);

-- Voucher number books ---------------------------------------------------------
-- FA: the sales invoices (the transfer keeps the KTZ numbers).
-- RM: delivery notes, one book per station point of sale.
-- PE: internal vouchers of the components discharge.
-- AJP: stock adjustments, the voucher kind of the delivery-note stock grid.

INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, DESCRIPCION, SISTEMA, Letras, Modificanumeracion, Externo, ES, Signo,
                       A_SUC_DEFAULT, A_ULTIMO_NRO, A_NRO_DESDE, A_NRO_HASTA,
                       B_SUC_DEFAULT, B_ULTIMO_NRO, B_NRO_DESDE, B_NRO_HASTA) VALUES
    ('  FA', 1, 'FACTURA DE VENTA', 'VENTAS', 'AB', 0, 1, 'S', 1,
     5, 1234, 1, 99999999,
     5, 1235, 1, 99999999);

INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, DESCRIPCION, SISTEMA, Letras, Modificanumeracion, Externo, ES, Signo,
                       R_SUC_DEFAULT, R_ULTIMO_NRO, R_NRO_DESDE, R_NRO_HASTA) VALUES
    ('  RM', 1, 'REMITO DE VENTA',                'VENTAS', 'R', 0, 0, 'S', 0, 1, 41, 1, 99999999),
    ('  RM', 2, 'REMITO DE VENTA - ACCESO NORTE', 'VENTAS', 'R', 0, 0, 'S', 0, 2, 7,  1, 99999999);

INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, DESCRIPCION, SISTEMA, Letras, Modificanumeracion, Externo, ES, Signo,
                       X_SUC_DEFAULT, X_ULTIMO_NRO, X_NRO_DESDE, X_NRO_HASTA) VALUES
    ('  PE', 1, 'PARTE DE EGRESO DE INSUMOS', 'STOCK', 'X', 0, 0, 'S', 0, 1, 15, 1, 99999999),
    (' AJP', 1, 'AJUSTE DE STOCK',            'STOCK', 'X', 0, 0, 'E', 0, 1, 1,  1, 99999999);
