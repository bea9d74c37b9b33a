# Which folder of src/ may include from which: one line per folder library,
# the folder first (relative to src/), then every folder its files may
# include from. A folder not listed here may not hold sources at all, so a
# new folder gets its line here too. The table itself must stay free of
# cycles (cmake/CheckLayering.cmake checks it): a folder below another never
# includes from it.
#
# From the bottom up: the core's message, memory and files; geometry; the
# document; the engines with their kernels; BMP frames, then AVI video; the
# run; the export API and the FFmpeg export module; the morph options file;
# the face lines and the dlib face module.
# Above the core: the Qt layer (the translation of the core's messages,
# picture, editing with its undo steps, view, app) and the headless render.
trevalin_layer(core/message)
trevalin_layer(core/memory)
trevalin_layer(core/files core/memory core/message)
trevalin_layer(core/geometry)
trevalin_layer(core/document core/files core/geometry core/memory core/message)
trevalin_layer(core/morph/kernels)
trevalin_layer(core/morph core/document core/geometry core/memory core/morph/kernels)
trevalin_layer(core/output/bmp core/files core/memory core/message core/morph)
trevalin_layer(core/output/avi core/files core/message core/output/bmp)
trevalin_layer(core/run
  core/document core/files core/geometry core/message core/morph core/output/avi core/output/bmp)
trevalin_layer(core/export core/document core/files core/message core/morph core/run)
trevalin_layer(core/export/ffmpeg
  core/document core/export core/files core/memory core/message core/morph core/output/avi core/output/bmp
  core/run)
trevalin_layer(core/options core/export core/files core/message core/morph)
trevalin_layer(core/faces core/document core/files core/geometry core/memory core/message core/morph)
trevalin_layer(core/faces/dlib core/document core/faces core/memory core/message core/morph)

trevalin_layer(gui/language core/message)
trevalin_layer(gui/picture core/document core/geometry core/message core/morph)
trevalin_layer(gui/editing/undo core/document core/geometry)
trevalin_layer(gui/editing
  core/document core/export core/geometry core/message core/morph core/output/avi gui/editing/undo gui/language
  gui/picture)
trevalin_layer(gui/view core/document core/geometry core/morph core/run gui/editing gui/language gui/picture)
trevalin_layer(gui/app
  core/document core/export core/faces core/geometry core/message core/morph core/options core/output/avi gui/editing
  gui/editing/undo gui/language gui/picture gui/view)

trevalin_layer(cli
  core/document core/export core/faces core/files core/geometry core/message core/morph core/options core/run gui/language
  gui/picture)

# Include cycles between files that are known and still to be broken: a
# cycle whose files are all listed here is reported but tolerated; any other
# cycle fails. Files are named as in the check's messages: the path below
# src/ without its extension (a header and its source are one).
set(TREVALIN_KNOWN_INCLUDE_CYCLES)
