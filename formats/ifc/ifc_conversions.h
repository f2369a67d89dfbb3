// Conversions between IFC alignment files and the suite's alignment files: the native
// alignment (with its profile), LandXML, and the records every foreign listing is read into.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/profile_curves.h"
#include "common/records.h"
#include "formats/ifc/ifc_alignment.h"

namespace ifc {

// The CRS option as written in the file ("EPSG:25830"); empty stays empty. False for a text
// that is not "EPSG:" and a number.
bool NormalizeCrs(const std::string& text, std::string& crs);

// Writes the file of `alignments` to `salida`; 1 when written.
int WriteIfcFile(const std::vector<AlignmentLayouts>& alignments, const std::string& salida, const std::string& crs);

// The native alignment `entrada` (with the native profile `rasante` when not empty) to IFC.
int ExportNativeToIfc(const std::string& entrada, const std::string& rasante, const std::string& salida,
                      const std::string& crs);

// "EPSG:n" for the coordinate system a LandXML document names; empty when it names none.
std::string LandXmlCoordinateSystem(const std::string& entrada);

// Every alignment of a LandXML document, each with its first profile, to IFC; without `crs`,
// with the document's own coordinate system when it names one.
int ExportLandXmlToIfc(const std::string& entrada, const std::string& salida, const std::string& crs);

// Records read from any listing (the last one the end point) to IFC.
int ExportRecordsToIfc(const std::vector<common::AlignmentElement>& elements, const std::string& name,
                       const std::string& salida, const std::string& crs);

// Reads every alignment of an IFC file; false with the reason recorded.
bool ReadIfcFile(const std::string& entrada, AlignmentsRead& read);

// Every alignment of the IFC file, each with its profile, to one LandXML document.
std::string FormatLandXmlOfAlignments(const std::vector<AlignmentLayouts>& alignments);
int ImportIfcToLandXml(const std::string& entrada, const std::string& salida);

// The names of the file's alignments, in file order.
std::vector<std::string> ListIfcAlignments(const std::string& entrada);

// The alignment named `nombre` (any case; empty: the first) to the native alignment file, or
// its profile to the native profile file. 1 when written, 0 when the file cannot be read, has
// no such alignment, or (profile) the alignment has no vertical layout.
int ImportIfcToNativeAlignment(const std::string& entrada, const std::string& nombre, const std::string& salida);
// The alignment numbered `index` (from 0, in file order) to the native alignment file.
int ImportIfcToNativeAlignment(const std::string& entrada, std::size_t index, const std::string& salida);
int ImportIfcToNativeProfile(const std::string& entrada, const std::string& nombre, const std::string& salida);

}  // namespace ifc
