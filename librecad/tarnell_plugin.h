// Tarnell as a LibreCAD command: the Qt plugin LibreCAD loads from its plugin folder. When it is
// loaded it starts the plug-in code (Startup registers the command with the host, which lives in
// this module too); its entry in the Plugins menu runs the command on the open drawing.
#pragma once

#include <QObject>
#include <QString>

#include "qc_plugininterface.h"

class TarnellPlugin : public QObject, public QC_PluginInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID LC_DocumentInterface_iid)
  Q_INTERFACES(QC_PluginInterface)

 public:
  TarnellPlugin();

  QString name() const override;
  PluginCapabilities getCapabilities() const override;
  void execComm(Document_Interface* doc, QWidget* parent, QString cmd) override;
};
