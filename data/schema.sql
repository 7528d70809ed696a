-- Tables of the ledger database besides the project table, which the program makes from
-- its column catalogue. Reference rows come from the CSV files beside this one.
create table userinfo (f2 text, passwd text);

create table 任务信息 (
  年份 text, 隶属关系 text, 汇总级别 text, 省 text, 地市 text, 县 text, 行政区划码 text,
  所属公司 text, 分公司 text, 归属 text, 企业代码 text, 填报单位 text, 地址 text,
  邮政编码 text, 填表人 text, 联系电话 text, 审核人 text);

create table 汇总级别 (汇总级别 text, 隶属关系 text, 序号 integer);
create table 年度 (年度 text);

create table province (名称 text, 代码 text);
create table city (名称 text, 代码 text, 省 text);
create table county (名称 text, 代码 text, 省 text, 市 text);
create index city_code on city (代码);
create index county_code on county (代码);

create table 中储粮分公司 (分公司 text);
create table 中粮分公司 (分公司 text);
create table 华粮分公司 (分公司 text);
create table 中纺分公司 (分公司 text);
create table 新疆兵团分公司 (分公司 text);

create table 查询指标 (指标 text, 类型 text);
create table 基础情况统计表指标 (指标名称 text, 代码 text, 计量单位 text);
