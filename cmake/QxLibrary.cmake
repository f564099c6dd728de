# Qt's code generators run only for the targets that hold Qt classes and forms.
function(qx_qt_target target)
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTOUIC ON)
endfunction()

# A folder's libraries: one Qt-free static library of SOURCES (an interface library when it
# has none) and, with the GUI on, one Qt library <name>_ui of UI_SOURCES (the folder's ui/
# subfolder: dialogs and windows with their Designer forms). DEPENDS names the libraries the
# folder uses, UI_DEPENDS the Qt libraries its ui/ uses; cmake/CheckLayers.cmake reads
# each folder's DEPENDS from this call and holds the includes to the same direction.
function(qx_folder_library name)
  cmake_parse_arguments(QX "" "" "SOURCES;UI_SOURCES;DEPENDS;UI_DEPENDS" ${ARGN})
  set(compiled ${QX_SOURCES})
  list(FILTER compiled INCLUDE REGEX "\\.cpp$")
  if(compiled)
    add_library(${name} STATIC ${QX_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC texts_headers ${QX_DEPENDS})
  else()
    add_library(${name} INTERFACE ${QX_SOURCES})
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE texts_headers ${QX_DEPENDS})
  endif()
  if(QX_GUI AND QX_UI_SOURCES)
    add_library(${name}_ui STATIC ${QX_UI_SOURCES})
    qx_qt_target(${name}_ui)
    target_link_libraries(${name}_ui PUBLIC ${name} Qt6::Widgets)
    foreach(dep ${QX_UI_DEPENDS})
      if(TARGET ${dep})
        target_link_libraries(${name}_ui PUBLIC ${dep})
      endif()
    endforeach()
  endif()
endfunction()
