-- Orva rows of the benchmark, loaded after schema/orva.sqlite.sql.
--
-- The configuration of one station (no second KTZ database), pointed at the
-- generated KTZ database (the benchmark replaces @KTZ_DB@ with its path and
-- @KTZ_SERVER@ with its Firebird server, empty for a file), and
-- the tables the transfer relies on: provinces, IVA and sales accounts, the
-- natural-gas article and the voucher number books.

INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES
    ('Digitos_Cuenta',                 '6',          'DATOS'),
    ('TITULOCLIENTES',                 '1120',       'DATOS'),
    ('KTZ_SERVIDOR',                   '@KTZ_SERVER@', 'DATOS'),
    ('KTZ_BASEDEDATOS',                '@KTZ_DB@',   'DATOS'),
    ('KTZ_USUARIO',                    'SYSDBA',     'DATOS'),
    ('KTZ_PASSWORD',                   'MasterKey',  'DATOS'),
    ('KTZ_FECHADESDE',                 '2026-03-01', 'DATOS'),
    ('KTZ_CODIGOGNC',                  '1-1',        'DATOS'),
    ('KTZ_TC',                         'FA',         'DATOS'),
    ('PERIODO',                        '2026',       'DATOS'),
    ('DescargaStockRemitos',           'SI',         'DATOS'),
    ('DEPOSITODEFAULT',                '1',          'DATOS'),
    ('MotivoStockDefault',             '1',          'DATOS'),
    ('PIVA',                           '21',         'DATOS'),
    ('DescargaInsumosProduccion',      'NO',         'DATOS'),
    ('PideDepositoEnCptes',            'NO',         'DATOS'),
    ('NombreArticulos',                'CÓDIGO',     'DATOS'),
    ('ConfirmaUDEquiv',                'NO',         'DATOS'),
    ('NoMostrarImportesEnOT',          'NO',         'DATOS'),
    ('V_ListaPreciosPorItemArticulos', 'NO',         'DATOS'),
    ('V_DescuentoPorArticulos',        'NO',         'DATOS');

INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES
    ('   1', 'BUENOS AIRES'),
    ('   3', 'CÓRDOBA'),
    ('   4', 'SANTA FE'),
    ('   5', 'MENDOZA');

INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION, TITULO, AJUSTE, LIBRO_IVA_VENTAS, LIBRO_IVA_COMPRAS, TIPOVISTA, DADA_DE_BAJA, MEDIODEPAGO) VALUES
    ('1120',    'DEUDORES POR VENTAS',                      1, 0, 0, 0, NULL, 0, NULL),
    ('2110101', 'IVA DÉBITO FISCAL - RESP. INSCRIPTOS',     0, 0, 0, 0, NULL, 0, NULL),
    ('2110102', 'IVA DÉBITO FISCAL - RESP. NO INSCRIPTOS',  0, 0, 0, 0, NULL, 0, NULL),
    ('2110103', 'IVA DÉBITO FISCAL - CONSUMIDORES FINALES', 0, 0, 0, 0, NULL, 0, NULL),
    ('2110104', 'IVA DÉBITO FISCAL - MONOTRIBUTISTAS',      0, 0, 0, 0, NULL, 0, NULL),
    ('4110101', 'VENTAS DE LUBRICANTES Y REPUESTOS',        0, 0, 0, 0, NULL, 0, NULL);

INSERT INTO TA_CUENTASIVA (DFI_IVARI, DFI_IVARNI, DFI_IVACF, DFI_IVARM) VALUES
    ('2110101', '2110102', '2110103', '2110104');

INSERT INTO V_TA_INPUT_VENTAS (IdMotivoVTA, REPUESTOS) VALUES
    ('   1', '4110101');

-- The natural-gas article, as the generated KTZ catalogue has it.
INSERT INTO V_TA_RUBROS (IDRUBRO, DESCRIPCION) VALUES ('   1', 'GNC');
INSERT INTO V_TA_UNIDAD (IDUNIDAD, DESCRIPCION) VALUES ('  M3', 'M3');
INSERT INTO V_MA_ARTICULOS (IDARTICULO, CODIGOBARRA, DESCRIPCION, IDRUBRO, IDUNIDAD, PRECIO2, TASAIVA, IMPUESTOS, COSTO, CUENTAPROVEEDOR) VALUES
    ('                      1-1', '            2000000000015', 'GNC - GAS NATURAL COMPRIMIDO', '   1', '  M3', 671.45, 21, 18.45, 455, NULL);

-- FA: the sales invoices, RM: the delivery notes of point of sale 1 (the
-- generated notes are numbered from 1), PE and AJP: the stock vouchers.
INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, DESCRIPCION, SISTEMA, Letras, Modificanumeracion, Externo, ES, Signo,
                       A_SUC_DEFAULT, A_ULTIMO_NRO, A_NRO_DESDE, A_NRO_HASTA,
                       B_SUC_DEFAULT, B_ULTIMO_NRO, B_NRO_DESDE, B_NRO_HASTA) VALUES
    ('  FA', 1, 'FACTURA DE VENTA', 'VENTAS', 'AB', 0, 1, 'S', 1, 5, 1, 1, 99999999, 5, 1, 1, 99999999);

INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, DESCRIPCION, SISTEMA, Letras, Modificanumeracion, Externo, ES, Signo,
                       R_SUC_DEFAULT, R_ULTIMO_NRO, R_NRO_DESDE, R_NRO_HASTA) VALUES
    ('  RM', 1, 'REMITO DE VENTA', 'VENTAS', 'R', 0, 0, 'S', 0, 1, 1, 1, 99999999);

INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, DESCRIPCION, SISTEMA, Letras, Modificanumeracion, Externo, ES, Signo,
                       X_SUC_DEFAULT, X_ULTIMO_NRO, X_NRO_DESDE, X_NRO_HASTA) VALUES
    ('  PE', 1, 'PARTE DE EGRESO DE INSUMOS', 'STOCK', 'X', 0, 0, 'S', 0, 1, 1, 1, 99999999),
    (' AJP', 1, 'AJUSTE DE STOCK',            'STOCK', 'X', 0, 0, 'E', 0, 1, 1, 1, 99999999);
