-- The central database on a PostgreSQL server.
--
-- The catalogue tables have the columns of the central database file, in the
-- same order (the update pairs them by position); names are in lower case.
-- The order tables receive what the representatives send: the header and the
-- items of its kind, each row marked with the representative's code, so that
-- (representante, nr_pedido) names one order and a re-send replaces it. The
-- company sets each order's status (recebido, faturado, entregue, cancelado)
-- and its date; the update brings them back to the representative.
--
-- Representatives log in with a role of their own, member of "representante",
-- listed in tbrepresentante_usuario with their employee code. They read the
-- catalogue and read and write only their own orders (row-level security);
-- they cannot change an order's status.
--
-- Load with: psql -v ON_ERROR_STOP=1 -d central -f central-postgresql.sql

BEGIN;

CREATE TABLE tbproduto (
    "idproduto" integer PRIMARY KEY,
    "codigo" varchar(20),
    "produto" varchar(255),
    "estoque" double precision,
    "precovenda" numeric(19,4),
    "codfab" text,
    "grupo" varchar(7),
    "posicao" varchar(26),
    "precocusto" double precision,
    "precolista" double precision,
    "minimo" double precision,
    "fabricante" varchar(15),
    "margem" double precision,
    "unid" varchar(3),
    "icms" double precision,
    "obs" text,
    "contmin" double precision,
    "ipi" double precision,
    "icmscompra" double precision,
    "kit" varchar(1),
    "promocao" varchar(1),
    "precopromo" double precision,
    "ultcompra" timestamp(0),
    "valultcompra" double precision,
    "qtdultcompra" double precision,
    "ultvenda" timestamp(0),
    "valultvenda" double precision,
    "qtdultvenda" double precision,
    "altcusto" timestamp(0),
    "altvenda" timestamp(0),
    "altref" timestamp(0),
    "valcusto" double precision,
    "valvenda" double precision,
    "valrefe" double precision,
    "desc1" numeric(19,4),
    "desc2" numeric(19,4),
    "desc3" numeric(19,4),
    "desc4" numeric(19,4),
    "desc5" numeric(19,4),
    "plista" boolean,
    "frete" double precision,
    "despesa" double precision,
    "custodolar" numeric(19,4),
    "dolar" boolean,
    "et0" double precision,
    "et1" double precision,
    "et2" double precision,
    "et3" double precision,
    "et4" double precision,
    "et5" double precision,
    "et6" double precision,
    "et7" double precision,
    "et8" double precision,
    "et9" double precision,
    "tributacao" varchar(1),
    "imagem" varchar(40),
    "pesobruto" double precision,
    "pesoliquido" double precision,
    "nota" varchar(10),
    "descpc" double precision,
    "descqtd" integer,
    "class" varchar(1),
    "fimpromocao" timestamp(0),
    "baixav" boolean,
    "comissao" double precision,
    "najustar" boolean,
    "inativo" boolean,
    "serv" boolean,
    "garantia" integer,
    "tabela" boolean,
    "multiplo" double precision,
    "clientep" varchar(56),
    "fornecedorp" varchar(56),
    "idclientep" integer,
    "idfornecp" integer,
    "reducao" double precision,
    "sittribu" varchar(3),
    "classfis" varchar(12),
    "semcomissao" boolean,
    "altu" double precision,
    "larg" double precision,
    "comp" double precision,
    "caixa" double precision,
    "fixarprevenda" boolean,
    "pedido" double precision,
    "reservado" double precision,
    "textofisc" varchar(100),
    "pesavel" boolean,
    "descpc1" double precision,
    "descqtd1" integer,
    "descpc2" double precision,
    "descqtd2" integer,
    "descpc3" double precision,
    "descqtd3" integer,
    "strib" double precision,
    "dpprocz" varchar(30),
    "piscofins" varchar(2),
    "pedmed" boolean,
    "benef" boolean,
    "customedio" double precision,
    "ivast" double precision,
    "srfil" text,
    "pagi" varchar(4),
    "posi" varchar(4),
    "vali" varchar(4),
    "reta" boolean,
    "iss" boolean
);

CREATE TABLE tbcliente (
    "idcliente" integer PRIMARY KEY,
    "nome" varchar(56),
    "end" varchar(56),
    "tel" varchar(40),
    "bairro" varchar(25),
    "cidade" varchar(30),
    "uf" varchar(3),
    "cep" varchar(10),
    "email" varchar(60),
    "contato" varchar(40),
    "referencia" varchar(40),
    "obs" text,
    "nasc" timestamp(0),
    "sexo" varchar(1),
    "cnpj" varchar(30),
    "iest" varchar(30),
    "fantasia" varchar(25),
    "cadastro" timestamp(0),
    "endcorr" varchar(56),
    "bairrocorr" varchar(25),
    "cidadecorr" varchar(30),
    "cepcorr" varchar(10),
    "ufcorr" varchar(3),
    "ultimacompra" timestamp(0),
    "valultcompra" numeric(19,4),
    "maiorcompra" timestamp(0),
    "valmaiorcompra" numeric(19,4),
    "menorcompra" timestamp(0),
    "valmenorcompra" numeric(19,4),
    "pagtoemdia" numeric(19,4),
    "pagtoatraso" numeric(19,4),
    "mediaatraso" integer,
    "credito" numeric(19,4),
    "atraso" numeric(19,4),
    "divida" numeric(19,4),
    "nota" integer,
    "cheque" integer,
    "firma" varchar(40),
    "cargo" varchar(30),
    "salario" varchar(10),
    "endfirma" varchar(50),
    "telfirma" varchar(30),
    "tempo" varchar(10),
    "naturalidade" varchar(30),
    "estcivil" varchar(10),
    "conjuge" varchar(50),
    "pai" varchar(50),
    "fax" varchar(18),
    "mae" varchar(50),
    "regiao" varchar(5),
    "status" varchar(25),
    "cel" varchar(30),
    "desco" numeric(19,4),
    "faturamento" integer,
    "prazo" varchar(9),
    "imagem" varchar(40),
    "eend" varchar(50),
    "ecidade" varchar(25),
    "ebairro" varchar(25),
    "ecep" varchar(10),
    "euf" varchar(2),
    "banco" varchar(15),
    "agencia" varchar(10),
    "conta" varchar(15),
    "email2" varchar(70),
    "email3" varchar(70),
    "web" varchar(70),
    "compr1" varchar(40),
    "telcomp1" varchar(40),
    "mailcomp1" varchar(70),
    "compr2" varchar(40),
    "telcomp2" varchar(40),
    "mailcomp2" varchar(70),
    "transportadora" varchar(56),
    "idtransp" integer,
    "internet" text,
    "funcionario" varchar(15),
    "clifpagto" varchar(6),
    "historico" text,
    "movimento" text,
    "tipocli" varchar(20),
    "imunicip" varchar(30),
    "telcorr" varchar(40),
    "etel" varchar(40),
    "refcorr" varchar(56),
    "eref" varchar(56),
    "tolera" integer
);

CREATE TABLE tbfuncionario (
    "idfunc" integer PRIMARY KEY,
    "nome" varchar(56),
    "bairro" varchar(25),
    "cidade" varchar(30),
    "uf" varchar(2),
    "cep" varchar(10),
    "carttrabalho" varchar(15),
    "pis" varchar(12),
    "cargo" varchar(30),
    "referencia" varchar(140),
    "obs" text,
    "tel" varchar(40),
    "nasc" timestamp(0),
    "sexo" varchar(1),
    "admissao" timestamp(0),
    "demissao" timestamp(0),
    "salario" numeric(19,4),
    "comissao" double precision,
    "cic" varchar(20),
    "rg" varchar(20),
    "escolaridade" varchar(50),
    "ultferias" timestamp(0),
    "peso" varchar(5),
    "altura" varchar(5),
    "camisa" varchar(3),
    "calca" varchar(3),
    "sapato" varchar(3),
    "email" varchar(60),
    "idlog" text,
    "abreg" varchar(30),
    "imagem" varchar(60),
    "apelido" varchar(26),
    "celular" varchar(15),
    "pai" varchar(50),
    "mae" varchar(50),
    "ecivil" varchar(15),
    "teleitor" varchar(30),
    "agendaafazer" text,
    "agendaanotacoes" text,
    "endereco" varchar(56),
    "nivel" varchar(15),
    "rt" boolean,
    "idloja" varchar(3),
    "movimento" text,
    "smtp" varchar(150),
    "usermail" varchar(150),
    "passwmail" varchar(20),
    "workmail" varchar(150),
    "opmail" integer
);

CREATE TABLE tbforma (
    "idforma" integer PRIMARY KEY,
    "codigo" varchar(3),
    "forma" varchar(20),
    "tipo" varchar(1),
    "valforma" numeric(19,4),
    "tef" varchar(3),
    "deposito" integer,
    "desconto" numeric(19,4)
);

CREATE INDEX ix_tbproduto_codigo ON tbproduto (codigo);
CREATE INDEX ix_tbcliente_regiao ON tbcliente (regiao);

CREATE TABLE tbpedido (
    representante varchar(10) NOT NULL,
    "nr_pedido" integer NOT NULL,
    "idfunc" varchar(10),
    "idcliente" integer,
    "dt_pedido" timestamp(0),
    "nm_forma_pagamento" varchar(200),
    "tp_localidade" varchar(1),
    "idforma" integer,
    "impresso" boolean,
    "enviado" boolean,
    "vl_total_venda_casada" numeric(19,4),
    "vl_total_item" numeric(19,4),
    "vl_qtd_pacote" numeric(19,4),
    "vl_total_pacote" numeric(19,4),
    "vl_media_pacote" numeric(19,4),
    "vl_total_troca1" numeric(19,4),
    "vl_total_troca2" numeric(19,4),
    "vl_diferenca_troca" numeric(19,4),
    "dt_troca" timestamp(0),
    "enviadotroca" boolean,
    "in_cancelado" boolean,
    "qt_envio_email" integer,
    "dv" integer,
    "avista" integer,
    "observacao" varchar(255),
    "cif" varchar(3),
    "vl_acumulativo_pedido" numeric(19,4),
    "vl_acumulativo_pacote" numeric(19,4),
    "vl_acumulativo_troca" numeric(19,4),
    "vl_gordura" numeric(19,4),
    tipo varchar(12) NOT NULL CHECK (tipo IN ('pedido', 'pacote', 'troca', 'venda_casada')),
    recebido_em timestamp(0) NOT NULL DEFAULT localtimestamp(0),
    status varchar(10) NOT NULL DEFAULT 'recebido' CHECK (status IN ('recebido', 'faturado', 'entregue', 'cancelado')),
    dt_status timestamp(0) NOT NULL DEFAULT localtimestamp(0),
    PRIMARY KEY (representante, nr_pedido)
);

CREATE TABLE tbpedido_item (
    representante varchar(10) NOT NULL,
    "nr_pedido" integer NOT NULL,
    "idfunc" varchar(10),
    "item" integer NOT NULL,
    "codigo" varchar(20),
    "quantidade" integer,
    "valorunitario" numeric(19,4),
    "valortotal" numeric(19,4),
    "cd_desconto1" varchar(1),
    "cd_desconto2" varchar(1),
    "cd_desconto3" varchar(1),
    "desconto" numeric(19,4),
    "gordura1" varchar(1),
    "vl_gordura" numeric(19,4),
    PRIMARY KEY (representante, nr_pedido, item),
    FOREIGN KEY (representante, nr_pedido) REFERENCES tbpedido ON DELETE CASCADE
);

CREATE TABLE tbpedido_pacote (
    representante varchar(10) NOT NULL,
    "nr_pedido" integer NOT NULL,
    "idfunc" varchar(10),
    "item" integer NOT NULL,
    "codigo" varchar(20),
    "quantidade" numeric(19,4),
    "valorunitario" numeric(19,4),
    "valortotal" numeric(19,4),
    "cd_desconto1" varchar(50),
    "cd_desconto2" varchar(50),
    "cd_desconto3" varchar(50),
    "desconto" numeric(19,4),
    "vl_gordura" numeric(19,4),
    "gordura1" varchar(1),
    PRIMARY KEY (representante, nr_pedido, item),
    FOREIGN KEY (representante, nr_pedido) REFERENCES tbpedido ON DELETE CASCADE
);

CREATE TABLE tbpedido_troca1 (
    representante varchar(10) NOT NULL,
    "nr_pedido" integer NOT NULL,
    "idfunc" varchar(10),
    "item" integer NOT NULL,
    "codigo" varchar(20),
    "quantidade" numeric(19,4),
    "valorunitario" numeric(19,4),
    "valortotal" numeric(19,4),
    PRIMARY KEY (representante, nr_pedido, item),
    FOREIGN KEY (representante, nr_pedido) REFERENCES tbpedido ON DELETE CASCADE
);

CREATE TABLE tbpedido_troca2 (
    representante varchar(10) NOT NULL,
    "nr_pedido" integer NOT NULL,
    "idfunc" varchar(10),
    "item" integer NOT NULL,
    "codigo" varchar(20),
    "quantidade" numeric(19,4),
    "valorunitario" numeric(19,4),
    "valortotal" numeric(19,4),
    PRIMARY KEY (representante, nr_pedido, item),
    FOREIGN KEY (representante, nr_pedido) REFERENCES tbpedido ON DELETE CASCADE
);

CREATE TABLE tbpedido_venda_casada (
    representante varchar(10) NOT NULL,
    "nr_pedido" integer NOT NULL,
    "idfunc" varchar(10),
    "item" integer NOT NULL,
    "codigo" varchar(20),
    "quantidade" integer,
    "valorunitario" numeric(19,4),
    "valortotal" numeric(19,4),
    "cd_desconto1" varchar(1),
    "cd_desconto2" varchar(1),
    "cd_desconto3" varchar(1),
    "desconto" numeric(19,4),
    "vl_gordura" numeric(19,4),
    "gordura1" varchar(1),
    PRIMARY KEY (representante, nr_pedido, item),
    FOREIGN KEY (representante, nr_pedido) REFERENCES tbpedido ON DELETE CASCADE
);

CREATE INDEX ix_tbpedido_status ON tbpedido (representante, dt_status);

-- Login roles of the representatives and their employee codes.
CREATE TABLE tbrepresentante_usuario (
    usuario name PRIMARY KEY,
    idfunc varchar(10) NOT NULL UNIQUE
);

-- The employee code of the representative logged in; NULL for anyone else.
CREATE FUNCTION representante_atual() RETURNS varchar
    LANGUAGE sql STABLE SECURITY DEFINER
    SET search_path = pg_catalog, public
AS $$ SELECT idfunc FROM public.tbrepresentante_usuario WHERE usuario = session_user $$;
REVOKE ALL ON FUNCTION representante_atual() FROM PUBLIC;

DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'representante') THEN
        CREATE ROLE representante NOLOGIN;
    END IF;
END
$$;

GRANT EXECUTE ON FUNCTION representante_atual() TO representante;
GRANT SELECT ON tbproduto, tbcliente, tbfuncionario, tbforma TO representante;
GRANT SELECT, INSERT, DELETE ON tbpedido, tbpedido_item, tbpedido_pacote, tbpedido_troca1, tbpedido_troca2,
    tbpedido_venda_casada TO representante;
-- A re-send updates the header; the status stays the company's.
GRANT UPDATE (idfunc, idcliente, dt_pedido, nm_forma_pagamento, tp_localidade, idforma, impresso, enviado,
    vl_total_venda_casada, vl_total_item, vl_qtd_pacote, vl_total_pacote, vl_media_pacote, vl_total_troca1,
    vl_total_troca2, vl_diferenca_troca, dt_troca, enviadotroca, in_cancelado, qt_envio_email, dv, avista,
    observacao, cif, vl_acumulativo_pedido, vl_acumulativo_pacote, vl_acumulativo_troca, vl_gordura, tipo,
    recebido_em) ON tbpedido TO representante;

ALTER TABLE tbpedido ENABLE ROW LEVEL SECURITY;
CREATE POLICY proprios ON tbpedido TO representante
    USING (representante = representante_atual()) WITH CHECK (representante = representante_atual());
ALTER TABLE tbpedido_item ENABLE ROW LEVEL SECURITY;
CREATE POLICY proprios ON tbpedido_item TO representante
    USING (representante = representante_atual()) WITH CHECK (representante = representante_atual());
ALTER TABLE tbpedido_pacote ENABLE ROW LEVEL SECURITY;
CREATE POLICY proprios ON tbpedido_pacote TO representante
    USING (representante = representante_atual()) WITH CHECK (representante = representante_atual());
ALTER TABLE tbpedido_troca1 ENABLE ROW LEVEL SECURITY;
CREATE POLICY proprios ON tbpedido_troca1 TO representante
    USING (representante = representante_atual()) WITH CHECK (representante = representante_atual());
ALTER TABLE tbpedido_troca2 ENABLE ROW LEVEL SECURITY;
CREATE POLICY proprios ON tbpedido_troca2 TO representante
    USING (representante = representante_atual()) WITH CHECK (representante = representante_atual());
ALTER TABLE tbpedido_venda_casada ENABLE ROW LEVEL SECURITY;
CREATE POLICY proprios ON tbpedido_venda_casada TO representante
    USING (representante = representante_atual()) WITH CHECK (representante = representante_atual());

COMMIT;
