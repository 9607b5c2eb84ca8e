#pragma once

#include <QByteArray>

// A project with one application, one instrument and the sequence "Board"
// of three steps that carry everything a sequence list keeps (so that a
// list made of them reads back as they are).
inline const QByteArray ProjectXml =
    "<project name='Bench' formatIndex='0'>"
    "<applications>"
    "<application name='Chain' type='Chain Integrity Test' program='apps/chain.sh'>"
    "<oper>Execute Test</oper><show>Status</show></application>"
    "</applications>"
    "<instruments><instrument name='BCU-1' address='sim' preferred='1'>"
    "<action>ExecReset</action><action>ExecBcu</action></instrument></instruments>"
    "<plugin name='ORVSequencer'>"
    "<sequence Title='Board' Description='three steps'>"
    "<sequenceelement ItemType='1' Type='-1' Column.Type='Chain Integrity Test' "
    "Column.Operation='Execute Test' Column.Item='Chain' Column.Show='Status' "
    "Properties.PassAction='Next' Properties.FailAction='Next' Properties.RejectAction='Redo' "
    "Properties.SyseAction='Stop' Properties.StatusToSequenceStatus='1' Column.Number='1'>"
    "<instrumentparams InstrumentName='Preferred' Flags='268435456'/></sequenceelement>"
    "<sequenceelement ItemType='2' Type='5' OperationItemId='IF &lt;condition&gt;' "
    "Column.Type='Ctrl' Column.Operation='IF' Column.Property='item = pass' Column.Item=',' "
    "Column.Show='Status' Column.Number='2' Properties.PassAction='Next' "
    "Properties.FailAction='Next' Properties.RejectAction='Redo' Properties.SyseAction='Stop'>"
    "<instrumentparams Flags='268435456'/></sequenceelement>"
    "<sequenceelement ItemType='2' Type='8' OperationItemId='ENDIF' Column.Type='Ctrl' "
    "Column.Operation='ENDIF' Column.Item=',' Column.Show='Status' Column.Number='3' "
    "Properties.PassAction='Next' Properties.FailAction='Next' Properties.RejectAction='Redo' "
    "Properties.SyseAction='Stop'><instrumentparams Flags='268435456'/></sequenceelement>"
    "</sequence>"
    "<sequence Title='Target'/>"
    "</plugin></project>";
