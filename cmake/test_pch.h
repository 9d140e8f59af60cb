// Precompiled for the test suites: the project's common headers, GoogleTest
// and the Qt headers the suites drive widgets with, which alone take most of
// a suite file's compile time.
#pragma once
#ifdef __cplusplus
#include "pch.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#endif
