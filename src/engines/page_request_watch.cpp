#include "engines/page_request_watch.h"

void PageRequestWatch::interceptRequest(QWebEngineUrlRequestInfo& info) {
  switch (info.resourceType()) {
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
    case QWebEngineUrlRequestInfo::ResourceTypeXhr:
    case QWebEngineUrlRequestInfo::ResourceTypeObject:
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
    case QWebEngineUrlRequestInfo::ResourceTypePluginResource:
      Q_EMIT requested(info.requestUrl());
      break;
    default:
      break;
  }
}
